#include "pixel_picture.h"

#include "drawing_measures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace correlatore {

namespace {

// The ring of a circle of the smallest radius: offsets from the pixel of its centre, as QPainter
// strokes a circle of radius 2 around a pixel's middle with a 1-pixel pen.
constexpr int ring[][2] = {
    {0, -2}, {1, -2}, {-1, -1}, {2, -1}, {-2, 0}, {2, 0}, {-2, 1}, {2, 1}, {-1, 2}, {0, 2}, {1, 2},
};

} // namespace

int pixelOf(float twips) {
    return static_cast<int>(std::floor(static_cast<double>(twips) / twipsPerPixel));
}

double circleRadiusPixels(float radiusTwips) {
    return std::max(static_cast<double>(radiusTwips) / twipsPerPixel, minimumCircleRadiusPixels);
}

PixelPicture::PixelPicture(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {}

void PixelPicture::draw(const DisplayList& ops) {
    // The first row pixel by pixel, the others copied from it: the page paints up to once a frame.
    for (int x = 0; x < m_width; ++x)
        set(x, 0, chartBackground);
    const auto rowBytes = static_cast<std::ptrdiff_t>(m_width) * 4;
    for (auto row = m_rgba.begin() + rowBytes; row < m_rgba.end(); row += rowBytes)
        std::copy(m_rgba.begin(), m_rgba.begin() + rowBytes, row);
    for (const DrawOp& op : ops) {
        const int x = pixelOf(op.x1), y = pixelOf(op.y1);
        switch (op.kind) {
        case DrawOp::Kind::Point:
            set(x, y, op.colour);
            break;
        case DrawOp::Kind::Line:
            line(x, y, pixelOf(op.x2), pixelOf(op.y2), op.colour);
            break;
        case DrawOp::Kind::Circle:
            circle(x, y, circleRadiusPixels(op.x2), op.colour);
            break;
        }
    }
}

ColorRef PixelPicture::pixel(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                            static_cast<std::size_t>(x)) *
                           4;
    return ColorRef{m_rgba[at]} | ColorRef{m_rgba[at + 1]} << 8 | ColorRef{m_rgba[at + 2]} << 16;
}

void PixelPicture::set(int x, int y, ColorRef colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                            static_cast<std::size_t>(x)) *
                           4;
    m_rgba[at] = static_cast<std::uint8_t>(colour & 0xFF); // 0x00BBGGRR
    m_rgba[at + 1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    m_rgba[at + 2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    m_rgba[at + 3] = 0xFF;
}

void PixelPicture::line(int x1, int y1, int x2, int y2, ColorRef colour) {
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    for (int error = dx + dy;;) {
        set(x1, y1, colour);
        if (x1 == x2 && y1 == y2)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x1 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y1 += sy;
        }
    }
}

void PixelPicture::circle(int x, int y, double radius, ColorRef colour) {
    if (radius == minimumCircleRadiusPixels) {
        for (const auto& [dx, dy] : ring)
            set(x + dx, y + dy, colour);
        return;
    }
    int r = static_cast<int>(std::lround(radius));
    for (int step = 0, error = 1 - r; r >= step; ++step) {
        for (const auto& [dx, dy] : {std::pair(r, step), std::pair(step, r)})
            for (const int sx : {-1, 1})
                for (const int sy : {-1, 1})
                    set(x + sx * dx, y + sy * dy, colour);
        if (error < 0) {
            error += 2 * step + 3;
        } else {
            error += 2 * (step - r) + 5;
            --r;
        }
    }
}

} // namespace correlatore
