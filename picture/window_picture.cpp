#include "window_picture.h"

#include "control_table.h"
#include "drawing_measures.h"
#include "form1.h"
#include "renderer.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>

namespace correlatore {

namespace {

// "Just past" and "just below": a little of the window's background around the outermost labels,
// less than the gap to the legends and buttons on the right and to the lists below.
constexpr int margin = 8;

} // namespace

QRect chartRegion(const QWidget& form) {
    QRect labels;
    for (const char* name : {"Label2", "Label3", "Label4", "Label5"})
        if (const auto* label = form.findChild<const QLabel*>(QLatin1String(name)))
            labels |= label->geometry();
    return QRect(0, 0, labels.right() + 1 + margin, labels.bottom() + 1 + margin);
}

std::optional<QByteArray> windowPicture(const DisplayList& ops, PictureLayout layout,
                                        const ListTexts& lists, PictureFormat format, int scale,
                                        const PictureInfo& info, const ChartTexts& texts) {
    Form1 form;
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.resize(pixelsOf(layoutExtent().width), pixelsOf(layoutExtent().height));
    form.findChild<QComboBox*>(QStringLiteral("Combo1"))
        ->setEditText(QString::fromStdString(lists.combo1));
    form.findChild<QComboBox*>(QStringLiteral("Combo2"))
        ->setEditText(QString::fromStdString(lists.combo2));
    form.show();
    form.showDrawing(ops);
    const QRect region = layout == PictureLayout::WholeWindow ? form.rect() : chartRegion(form);
    return pictureFile(region.size(), format, scale, info, [&](QPainter& painter) {
        form.render(&painter, QPoint(0, 0), QRegion(region),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren);
        if (!texts.empty())
            renderTexts(texts, painter, pictureFont(form.font().family()));
    });
}

} // namespace correlatore
