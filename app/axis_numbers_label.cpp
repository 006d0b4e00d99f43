#include "axis_numbers_label.h"

#include "axis_numbers.h"

#include <QPainter>

namespace correlatore {

AxisNumbersLabel::AxisNumbersLabel(const QString& caption, int widthPixels, QWidget* parent)
    : QLabel(caption, parent)
    , m_width(widthPixels) {}

QSize AxisNumbersLabel::sizeHint() const {
    return {m_width, fontMetrics().height()};
}

void AxisNumbersLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    const auto numbers = axisNumbers();
    std::array<int, 3> widths{};
    for (std::size_t i = 0; i < numbers.size(); ++i)
        widths[i] = fontMetrics().horizontalAdvance(QString::fromStdString(numbers[i]));
    const std::array<int, 3> lefts = axisNumberLefts(widths);
    const int baseline = fontMetrics().ascent();
    for (std::size_t i = 0; i < numbers.size(); ++i)
        painter.drawText(lefts[i], baseline, QString::fromStdString(numbers[i]));
}

} // namespace correlatore
