#include "picture_file.h"

#include "renderer.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace correlatore {

namespace {

std::optional<QByteArray> pngPicture(const DisplayList& ops, int scale) {
    QImage image(chartPixelWidth * scale, chartPixelHeight * scale, QImage::Format_RGB32);
    image.fill(toQColor(chartBackground));
    QPainter painter(&image);
    painter.scale(scale, scale);
    render(ops, painter);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> svgPicture(const DisplayList& ops) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(chartPixelWidth, chartPixelHeight));
    generator.setViewBox(QRect(0, 0, chartPixelWidth, chartPixelHeight));
    generator.setTitle(QStringLiteral("C = f (Si/Ni)"));
    QPainter painter;
    if (!painter.begin(&generator))
        return std::nullopt;
    painter.fillRect(QRect(0, 0, chartPixelWidth, chartPixelHeight), toQColor(chartBackground));
    render(ops, painter);
    painter.end();
    return bytes;
}

} // namespace

std::optional<QByteArray> chartPicture(const DisplayList& ops, PictureFormat format, int scale) {
    return format == PictureFormat::Png ? pngPicture(ops, scale) : svgPicture(ops);
}

} // namespace correlatore
