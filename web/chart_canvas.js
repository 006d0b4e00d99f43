// The canvas renderer of the chart's display list: the same pixels as the desktop's renderer, with
// its scale, background and smallest circle taken from the exported layout. A point fills the
// pixel that holds it; a line is one pixel wide from the pixel of its start to that of its end,
// both included; a circle is drawn at least at the smallest radius, and at 2 pixels it is the
// desktop's 5 x 5 ring around the pixel of its centre. Pixels are written, not stroked, so nothing
// is anti-aliased.
const ChartCanvas = (() => {
  // The ring the desktop draws for a circle of radius 2 pixels: offsets from the centre pixel.
  const ring = [
    [0, -2], [1, -2],
    [-1, -1], [2, -1],
    [-2, 0], [2, 0],
    [-2, 1], [2, 1],
    [-1, 2], [0, 2], [1, 2],
  ];

  const rgbOf = (css) => [1, 3, 5].map((at) => parseInt(css.slice(at, at + 2), 16));

  class Renderer {
    // `opLayout` from the engine's opLayout(); `drawing` the exported layout's twipsPerPixel,
    // background ("#rrggbb") and minimumCircleRadius.
    constructor(canvas, opLayout, drawing) {
      this.canvas = canvas;
      this.context = canvas.getContext('2d', { willReadFrequently: true });
      this.layout = opLayout;
      this.twipsPerPixel = drawing.twipsPerPixel;
      this.background = rgbOf(drawing.background);
      this.minimumCircleRadius = drawing.minimumCircleRadius;
      this.image = this.context.createImageData(canvas.width, canvas.height);
    }

    pixelOf(twips) {
      return Math.floor(twips / this.twipsPerPixel);
    }

    setPixel(x, y, colour) {
      const { width, height, data } = this.image;
      if (x < 0 || y < 0 || x >= width || y >= height) return;
      const at = (y * width + x) * 4;
      data[at] = colour & 0xff; // 0x00BBGGRR
      data[at + 1] = (colour >>> 8) & 0xff;
      data[at + 2] = (colour >>> 16) & 0xff;
      data[at + 3] = 255;
    }

    line(x1, y1, x2, y2, colour) {
      // Bresenham between the two pixels, both ends included.
      const dx = Math.abs(x2 - x1), dy = -Math.abs(y2 - y1);
      const sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
      let error = dx + dy;
      for (;;) {
        this.setPixel(x1, y1, colour);
        if (x1 === x2 && y1 === y2) return;
        const e2 = 2 * error;
        if (e2 >= dy) { error += dy; x1 += sx; }
        if (e2 <= dx) { error += dx; y1 += sy; }
      }
    }

    circle(cx, cy, radiusTwips, colour) {
      const radius = Math.max(radiusTwips / this.twipsPerPixel, this.minimumCircleRadius);
      if (radius === 2) {
        for (const [dx, dy] of ring) this.setPixel(cx + dx, cy + dy, colour);
        return;
      }
      // Larger circles never occur on the chart; drawn as a plain midpoint circle.
      const r = Math.round(radius);
      for (let x = r, y = 0, error = 1 - r; x >= y; ++y) {
        const octants = [[x, y], [y, x], [-y, x], [-x, y], [-x, -y], [-y, -x], [y, -x], [x, -y]];
        for (const [px, py] of octants) this.setPixel(cx + px, cy + py, colour);
        if (error < 0) error += 2 * y + 3;
        else { error += 2 * (y - x) + 5; --x; }
      }
    }

    // Draws `bytes`, the display list as the engine lays it out (`layout` from opLayout()).
    render(bytes) {
      const data = this.image.data;
      for (let i = 0; i < data.length; i += 4) {
        data[i] = this.background[0];
        data[i + 1] = this.background[1];
        data[i + 2] = this.background[2];
        data[i + 3] = 255;
      }
      const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
      const op = this.layout;
      for (let at = 0; at + op.size <= bytes.byteLength; at += op.size) {
        const kind = view.getUint8(at + op.kind);
        const field = (name) => view.getFloat32(at + op[name], true);
        const colour = view.getUint32(at + op.colour, true);
        const [px1, py1] = [this.pixelOf(field('x1')), this.pixelOf(field('y1'))];
        if (kind === op.point)
          this.setPixel(px1, py1, colour);
        else if (kind === op.line)
          this.line(px1, py1, this.pixelOf(field('x2')), this.pixelOf(field('y2')), colour);
        else if (kind === op.circle)
          this.circle(px1, py1, field('x2'), colour); // x2 holds the radius
      }
      this.context.putImageData(this.image, 0, 0);
    }
  }

  return { Renderer };
})();
