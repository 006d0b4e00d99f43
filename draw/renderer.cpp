#include "renderer.h"

#include "pixel_picture.h"

#include <QFontMetricsF>
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

bool isVerticalLine(const DrawOp& op) {
    return op.kind == DrawOp::Kind::Line && pixelOf(op.x1) == pixelOf(op.x2);
}

// The pixels of a run of vertical lines as one path, each line a segment down its column's
// middle, 1 pixel wide when stroked with a flat cap: the same pixels as the lines drawn one by
// one, and one element in an SVG instead of one a line (a band is one line a pixel column). The
// caller shifts the painter right half a pixel, so that the file holds no fractions.
QPainterPath pixelColumns(DisplayList::const_iterator begin, DisplayList::const_iterator end) {
    QPainterPath path;
    for (auto op = begin; op != end; ++op) {
        const int from = pixelOf(op->y1), to = pixelOf(op->y2);
        path.moveTo(pixelOf(op->x1), std::min(from, to));
        path.lineTo(pixelOf(op->x1), std::max(from, to) + 1);
    }
    return path;
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
        const auto columnsEnd = std::find_if(op, ops.end(), [&](const DrawOp& next) {
            return !isVerticalLine(next) || next.colour != op->colour;
        });
        if (columnsEnd - op > 1) {
            // Two or more vertical lines of one colour in a row: a band, drawn as one path.
            use(Style::Dots, op->colour);
            painter.translate(0.5, 0.0);
            painter.drawPath(pixelColumns(op, columnsEnd));
            painter.translate(-0.5, 0.0);
            op = columnsEnd;
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

void renderTexts(const ChartTexts& texts, QPainter& painter, const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QFontMetricsF metrics(font, painter.device());
    for (const ChartText& item : texts) {
        const QString text = QString::fromStdString(item.text);
        const double width = metrics.horizontalAdvance(text);
        double left = static_cast<double>(item.x) / twipsPerPixel;
        if (item.anchor == TextAnchor::Centre)
            left -= width / 2.0;
        else if (item.anchor == TextAnchor::Right)
            left -= width;
        const double baseline = static_cast<double>(item.y) / twipsPerPixel +
                                (metrics.ascent() - metrics.descent()) / 2.0;
        painter.setPen(toQColor(item.colour));
        painter.drawText(QPointF(left, baseline), text);
    }
    painter.restore();
}

QFont pictureFont(const QString& family) {
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPixelSize(pictureTextPixels);
    return font;
}

} // namespace correlatore
