#include "window_fixture.h"

#include "chart_frame.h"
#include "renderer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

using namespace correlatore;

DisplayList frameOnly() {
    DrawingSurface surface(black);
    drawChartFrame(surface);
    return surface.ops();
}

QImage grabbed(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool isInk(QColor pixel, QColor background) {
    return std::max({std::abs(pixel.red() - background.red()),
                     std::abs(pixel.green() - background.green()),
                     std::abs(pixel.blue() - background.blue())}) > 96;
}

QString captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QPushButton*>(widget))
        return button->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    return {};
}

namespace {

// How wide a caption's ink is when nothing cuts it: drawn alone, in the same font.
int uncutInkWidth(const QString& caption, const QFont& font) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(caption) + 20, metrics.height() + 4,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(10, metrics.ascent() + 2, caption);
    painter.end();
    return inkColumns(image, image.rect(), Qt::white, [](QPoint) { return true; }).width();
}

} // namespace

std::vector<std::string> cutCaptions(QWidget& form) {
    const QImage image = grabbed(form);
    const QColor face = toQColor(chartBackground);
    std::vector<std::string> cut;
    for (QWidget* widget : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString caption = captionOf(widget);
        if (caption.isEmpty() || widget->objectName() == "Label3")
            continue; // Label3 places its numbers apart: see AxisNumbersStandUnderTheirTicks
        QRect area = widget->geometry();
        QColor background = face;
        if (qobject_cast<QPushButton*>(widget)) {
            area = area.adjusted(3, 3, -3, -3); // inside the button's frame
            background = image.pixelColor(area.topLeft());
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            area = QRect(combo->lineEdit()->mapTo(&form, QPoint(0, 0)), combo->lineEdit()->size());
            background = image.pixelColor(area.topLeft());
        }
        const auto shows = [&](QPoint p) {
            QWidget* top = form.childAt(p);
            return top == widget || (top && widget->isAncestorOf(top));
        };
        const int shown = inkColumns(image, area, background, shows).width();
        // Two columns of slack: anti-aliased edges fall either way of the ink threshold.
        if (shown < uncutInkWidth(caption, widget->font()) - 2)
            cut.push_back(widget->objectName().toStdString());
    }
    return cut;
}
