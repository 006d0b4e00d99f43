#include "axis_numbers_label.h"

#include <QPainter>

namespace correlatore {

AxisNumbersLabel::AxisNumbersLabel(const QString& caption, int axisXPixels, int widthPixels,
                                   QWidget* parent)
    : QLabel(caption, parent)
    , m_axisX(axisXPixels)
    , m_width(widthPixels) {}

QSize AxisNumbersLabel::sizeHint() const {
    return {m_width, fontMetrics().height()};
}

QRect AxisNumbersLabel::boxOf(const QString& number, int left) const {
    return {left, 0, fontMetrics().horizontalAdvance(number), fontMetrics().height()};
}

QRect AxisNumbersLabel::minusSixtyBox() const {
    return boxOf(QStringLiteral("-60"), 0);
}

QRect AxisNumbersLabel::zeroBox() const {
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("0"));
    return boxOf(QStringLiteral("0"), m_axisX - x() - width / 2);
}

QRect AxisNumbersLabel::plusSixtyBox() const {
    const QString number = QStringLiteral("+60");
    return boxOf(number, m_width - fontMetrics().horizontalAdvance(number));
}

void AxisNumbersLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    const int baseline = fontMetrics().ascent();
    painter.drawText(minusSixtyBox().left(), baseline, QStringLiteral("-60"));
    painter.drawText(zeroBox().left(), baseline, QStringLiteral("0"));
    painter.drawText(plusSixtyBox().left(), baseline, QStringLiteral("+60"));
}

} // namespace correlatore
