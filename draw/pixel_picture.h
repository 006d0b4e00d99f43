#pragma once

#include "display_list.h"

#include <cstdint>
#include <vector>

// The chart's drawing rules in pixels, one device pixel a window pixel, without Qt: what the page
// shows, and what the window's QPainter renderer draws for everything the chart draws (draw_test
// holds the two to the same pixels).

namespace correlatore {

// The pixel that holds a chart-space position, 15 twips a pixel.
int pixelOf(float twips);

// The radius in window pixels that a circle of `radiusTwips` is drawn with: never under
// minimumCircleRadiusPixels, so that a simulated point, 10 twips, shows as the 5 x 5 ring.
double circleRadiusPixels(float radiusTwips);

// A display list drawn into pixels on the chart's background. A point fills the pixel that holds
// it; a line is one pixel wide from the pixel of its start to that of its end, both included; a
// circle of the smallest radius is the 5 x 5 ring around the pixel of its centre. Nothing is
// anti-aliased. Lines other than the axes and circles larger than the ring never occur on the
// chart; they are drawn as plain Bresenham lines and midpoint circles, which may differ from
// Qt's by a few pixels.
class PixelPicture {
public:
    PixelPicture(int width, int height);

    // Paints the background, then `ops` in order.
    void draw(const DisplayList& ops);

    int width() const { return m_width; }
    int height() const { return m_height; }
    ColorRef pixel(int x, int y) const;
    // Red, green, blue and an opaque alpha for each pixel, row by row: what a canvas takes.
    const std::vector<std::uint8_t>& rgba() const { return m_rgba; }

private:
    void set(int x, int y, ColorRef colour);
    void line(int x1, int y1, int x2, int y2, ColorRef colour);
    void circle(int x, int y, double radius, ColorRef colour);

    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_rgba;
};

} // namespace correlatore
