#include "renderer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace correlatore {

namespace {

// The pixel that holds a chart-space position.
double pixelOf(float twips) {
    return std::floor(static_cast<double>(twips) / twipsPerPixel);
}

QPointF pixelCentre(float x, float y) {
    return {pixelOf(x) + 0.5, pixelOf(y) + 0.5};
}

QPen onePixelPen(QColor colour) {
    QPen pen(colour, 1.0);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
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
    // costs a group in an SVG, and a run of 6615 grid dots needs just one.
    enum class Style { None, Fill, Stroke } style = Style::None;
    ColorRef styleColour = 0;
    const auto use = [&](Style wanted, ColorRef colour) {
        if (style == wanted && styleColour == colour)
            return;
        style = wanted;
        styleColour = colour;
        if (wanted == Style::Fill) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(toQColor(colour));
        } else {
            painter.setPen(onePixelPen(toQColor(colour)));
            painter.setBrush(Qt::NoBrush);
        }
    };
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Point:
            use(Style::Fill, op.colour);
            painter.drawRect(QRectF(pixelOf(op.x1), pixelOf(op.y1), 1.0, 1.0));
            break;
        case DrawOp::Kind::Line:
            use(Style::Stroke, op.colour);
            painter.drawLine(pixelCentre(op.x1, op.y1), pixelCentre(op.x2, op.y2));
            break;
        case DrawOp::Kind::Circle: {
            use(Style::Stroke, op.colour);
            const double radius =
                std::max(static_cast<double>(op.x2) / twipsPerPixel, minimumCircleRadiusPixels);
            painter.drawEllipse(pixelCentre(op.x1, op.y1), radius, radius);
            break;
        }
        }
    }
    painter.restore();
}

} // namespace correlatore
