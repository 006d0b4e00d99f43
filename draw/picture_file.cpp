#include "picture_file.h"

#include "renderer.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cmath>

namespace correlatore {

namespace {

constexpr double metresPerInch = 0.0254;

std::optional<QByteArray> pngPicture(QSize size, int scale, const PictureInfo& info,
                                     const PaintRoutine& paint) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale); // the painter works in window pixels
    image.fill(toQColor(chartBackground));
    QPainter painter(&image);
    paint(painter);
    painter.end();
    // Set after painting, so that the density cannot change how text is laid out.
    const int dotsPerMetre =
        static_cast<int>(std::lround(windowDotsPerInch * scale / metresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    if (!info.title.isEmpty())
        image.setText(QStringLiteral("Title"), info.title);
    if (!info.description.isEmpty())
        image.setText(QStringLiteral("Description"), info.description);
    for (const auto& [key, value] : info.fields)
        image.setText(key, value);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

QString svgDescription(const PictureInfo& info) {
    QStringList lines;
    if (!info.description.isEmpty())
        lines << info.description;
    for (const auto& [key, value] : info.fields)
        lines << key + QStringLiteral(": ") + value;
    return lines.join(QLatin1Char('\n'));
}

// Two amendments to the generator's <svg> element. It writes the size in millimetres rounded to a
// thousandth, which a browser turns into a fraction of a pixel too few; CSS pixels are exactly 1/96
// inch, so the size is stated in them. And the window draws its dots, lines and rings without
// anti-aliasing: crisp edges ask a viewer for the same shapes, not blurred ones.
void amendSvgHeader(QByteArray& svg, QSize size) {
    static const QRegularExpression header(
        QStringLiteral(R"(<svg width="[0-9.]+mm" height="[0-9.]+mm")"));
    QString text = QString::fromUtf8(svg);
    text.replace(header,
                 QStringLiteral(R"(<svg width="%1px" height="%2px" shape-rendering="crispEdges")")
                     .arg(size.width())
                     .arg(size.height()));
    svg = text.toUtf8();
}

std::optional<QByteArray> svgPicture(QSize size, const PictureInfo& info,
                                     const PaintRoutine& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(windowDotsPerInch);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(info.title);
    generator.setDescription(svgDescription(info));
    QPainter painter;
    if (!painter.begin(&generator))
        return std::nullopt;
    painter.fillRect(QRect(QPoint(0, 0), size), toQColor(chartBackground));
    paint(painter);
    painter.end();
    amendSvgHeader(bytes, size);
    return bytes;
}

} // namespace

std::optional<QByteArray> pictureFile(QSize size, PictureFormat format, int scale,
                                      const PictureInfo& info, const PaintRoutine& paint) {
    return format == PictureFormat::Png ? pngPicture(size, scale, info, paint)
                                        : svgPicture(size, info, paint);
}

std::optional<QByteArray> figurePicture(const Figure& figure, PictureFormat format, int scale,
                                        const PictureInfo& info, const QString& fontFamily) {
    return pictureFile(QSize(figure.width, figure.height), format, scale, info,
                       [&](QPainter& painter) {
                           render(figure.ops, painter);
                           if (!figure.texts.empty())
                               renderTexts(figure.texts, painter, pictureFont(fontFamily));
                       });
}

std::optional<QByteArray> chartPicture(const DisplayList& ops, PictureFormat format, int scale,
                                       const PictureInfo& info, const ChartTexts& texts,
                                       const QString& fontFamily) {
    return figurePicture({chartPixelWidth, chartPixelHeight, ops, texts}, format, scale, info,
                         fontFamily);
}

} // namespace correlatore
