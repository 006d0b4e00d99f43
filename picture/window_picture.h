#pragma once

#include "display_list.h"
#include "list_texts.h"
#include "picture_file.h"
#include "render_module.h"

#include <QRect>
#include <QString>

class QWidget;

namespace correlatore {

// The chart's part of the window: from the top-left corner to just past "Si/Ni (db)" (Label2) and
// just below the axis numbers (Label3), taking in every chart label, and none of the buttons.
QRect chartRegion(const QWidget& form);

// A picture of the window showing `ops`: Form1 itself, made offscreen and painted by its own
// widgets, so that the labels and the chart are exactly the window's. Needs a QApplication.
// `layout` is ChartWithLabels or WholeWindow; `texts` are written over it in the window's font.
std::optional<QByteArray> windowPicture(const DisplayList& ops, PictureLayout layout,
                                        const ListTexts& lists, PictureFormat format, int scale,
                                        const PictureInfo& info, const ChartTexts& texts = {});

} // namespace correlatore
