#pragma once

#include "chart_text.h"
#include "display_list.h"
#include "drawing_measures.h"
#include "picture_format.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QPainter;

namespace correlatore {

// The density of the window's pixels, which every picture keeps, so that it lands on a page or a
// slide at the size the window shows it.
inline constexpr int windowDotsPerInch = 96;

// What a picture says about itself. A PNG keeps the title, the description and each field as
// text chunks under their own keywords; an SVG keeps the title as <title> and the description,
// followed by one "key: value" line a field, as <desc>.
struct PictureInfo {
    QString title;
    QString description;
    QList<QPair<QString, QString>> fields; // e.g. {"Software", "correlatore-cli 0.1.0"}
};

// Paints the picture in window pixels, from (0, 0).
using PaintRoutine = std::function<void(QPainter&)>;

// A picture file of `size` window pixels, painted by `paint`: a PNG at `scale` device pixels a
// window pixel that records 96 x `scale` dots per inch, or an SVG that states its size at 96 dots
// per inch. Empty when Qt fails to encode it.
std::optional<QByteArray> pictureFile(QSize size, PictureFormat format, int scale,
                                      const PictureInfo& info, const PaintRoutine& paint);

// A figure, drawn by the window's renderer on the window's background, its texts over it in
// `fontFamily` (the default family when empty). Texts need a QGuiApplication.
std::optional<QByteArray> figurePicture(const Figure& figure, PictureFormat format, int scale,
                                        const PictureInfo& info, const QString& fontFamily = {});

// The bare chart, as figurePicture() draws it.
std::optional<QByteArray> chartPicture(const DisplayList& ops, PictureFormat format, int scale,
                                       const PictureInfo& info = {}, const ChartTexts& texts = {},
                                       const QString& fontFamily = {});

} // namespace correlatore
