#include "renderer.h"

#include "pixel_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <utility>
#include <vector>

namespace correlatore {

namespace {

QPointF pixelCentre(float x, float y) {
    return {pixelOf(x) + 0.5, pixelOf(y) + 0.5};
}

QPen onePixelPen(QColor colour, Qt::PenCapStyle cap = Qt::SquareCap) {
    QPen pen(colour, 1.0);
    pen.setCapStyle(cap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

bool isPoint(const DrawOp& op) {
    return op.kind == DrawOp::Kind::Point;
}

// The pixels of a run of points as one path: each row's neighbouring pixels joined into one
// segment along the row's middle, 1 pixel high when stroked with a flat cap. One path instead of
// one shape a point keeps an SVG small (the frame alone has 6615 dots); the pixels are the same.
// The rows' middles are at whole numbers: the caller shifts the painter down half a pixel, so
// that the file holds no fractions.
QPainterPath pixelRows(DisplayList::const_iterator begin, DisplayList::const_iterator end) {
    std::vector<std::pair<int, int>> pixels; // (row, column), to sort by row
    pixels.reserve(static_cast<std::size_t>(end - begin));
    for (auto op = begin; op != end; ++op)
        pixels.emplace_back(pixelOf(op->y1), pixelOf(op->x1));
    std::sort(pixels.begin(), pixels.end());
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    QPainterPath path;
    for (std::size_t i = 0; i < pixels.size();) {
        const auto [row, first] = pixels[i];
        int last = first;
        for (++i; i < pixels.size() && pixels[i] == std::pair(row, last + 1); ++i)
            ++last;
        path.moveTo(first, row);
        path.lineTo(last + 1, row);
    }
    return path;
}

} // namespace

QColor toQColor(ColorRef colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

void render(const DisplayList& ops, QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Painter state changes only where the colour or the kind of operation changes: every change
    // costs a group in an SVG.
    enum class Style { None, Dots, Stroke } style = Style::None;
    ColorRef styleColour = 0;
    const auto use = [&](Style wanted, ColorRef colour) {
        if (style == wanted && styleColour == colour)
            return;
        style = wanted;
        styleColour = colour;
        painter.setPen(
            onePixelPen(toQColor(colour), wanted == Style::Dots ? Qt::FlatCap : Qt::SquareCap));
        painter.setBrush(Qt::NoBrush);
    };
    for (auto op = ops.begin(); op != ops.end();) {
        if (isPoint(*op)) {
            // Points of one colour in a row may be drawn in any order: one path for all of them.
            const auto runEnd = std::find_if(op, ops.end(), [&](const DrawOp& next) {
                return !isPoint(next) || next.colour != op->colour;
            });
            use(Style::Dots, op->colour);
            painter.translate(0.0, 0.5);
            painter.drawPath(pixelRows(op, runEnd));
            painter.translate(0.0, -0.5);
            op = runEnd;
            continue;
        }
        use(Style::Stroke, op->colour);
        if (op->kind == DrawOp::Kind::Line) {
            painter.drawLine(pixelCentre(op->x1, op->y1), pixelCentre(op->x2, op->y2));
        } else {
            const double radius = circleRadiusPixels(op->x2);
            painter.drawEllipse(pixelCentre(op->x1, op->y1), radius, radius);
        }
        ++op;
    }
    painter.restore();
}

} // namespace correlatore
