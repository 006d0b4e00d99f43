// Makes the program's images again: the formula picture and the icons. Run by the
// `regenerate-assets` target, which writes into the source tree; the images it makes are kept in
// the repository so that building never depends on the fonts of the machine.

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QString>
#include <cstdio>

namespace {

// An inclusive pixel box, as the formula's layout gives it.
struct Box {
    int left, right, top, bottom;
};

// Fills the outline of `text` so that its ink just fills `box`: the glyph shapes are the font's,
// stretched onto the box, and no ink falls outside it.
void drawTextInBox(QPainter& painter, const QString& text, const QFont& font, Box box) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    const QRectF target(box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1);
    QTransform toBox;
    toBox.translate(target.left(), target.top());
    toBox.scale(target.width() / ink.width(), target.height() / ink.height());
    toBox.translate(-ink.left(), -ink.top());
    painter.fillPath(toBox.map(path), Qt::black);
}

void fill(QPainter& painter, Box box) {
    painter.fillRect(box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1,
                     Qt::black);
}

QImage formulaImage() {
    QImage image(342, 83, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont serif("Liberation Serif", 40);
    // Bold for pi, as the formula has it, and for the digits 1, whose serif strokes would
    // vanish at four pixels wide.
    QFont bold = serif;
    bold.setBold(true);

    drawTextInBox(painter, "Crt", serif, {6, 28, 28, 40});
    fill(painter, {36, 45, 33, 33});
    fill(painter, {36, 45, 36, 36});
    drawTextInBox(painter, "(", serif, {54, 57, 28, 42});
    drawTextInBox(painter, "2", serif, {66, 72, 28, 42});
    drawTextInBox(painter, "/", serif, {80, 84, 28, 42});
    drawTextInBox(painter, QString(QChar(0x03C0)), bold, {91, 100, 28, 42});
    drawTextInBox(painter, ")", serif, {106, 109, 28, 42});
    drawTextInBox(painter, "ArcSen", serif, {118, 162, 30, 40});

    // Tall square brackets: a stem and two serifs each.
    fill(painter, {177, 180, 20, 48});
    fill(painter, {177, 183, 20, 21});
    fill(painter, {177, 183, 47, 48});
    fill(painter, {334, 337, 19, 47});
    fill(painter, {331, 337, 19, 20});
    fill(painter, {331, 337, 46, 47});

    drawTextInBox(painter, "1", bold, {250, 253, 18, 28});
    fill(painter, {188, 326, 35, 35});
    drawTextInBox(painter, "1", bold, {203, 206, 47, 64});
    drawTextInBox(painter, "+", serif, {218, 227, 47, 64});
    drawTextInBox(painter, "(", serif, {239, 242, 47, 64});
    drawTextInBox(painter, "Ni", serif, {254, 266, 47, 64});
    drawTextInBox(painter, "/", serif, {272, 277, 47, 64});
    drawTextInBox(painter, "Si", serif, {282, 292, 47, 64});
    drawTextInBox(painter, ")", serif, {307, 310, 47, 64});
    drawTextInBox(painter, "2", serif, {316, 321, 41, 50});
    return image;
}

// The standard 16-colour palette, in its usual order.
const QList<QRgb> standardPalette{
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
const QColor iconBlack(0, 0, 0);
const QColor iconWhite(255, 255, 255);
const QColor iconCyan(0, 255, 255);
const QColor iconGrey(128, 128, 128);

// The icon's three shapes on a 32-unit square, scaled by `k`: parallelograms leaning right by a
// quarter of their height.
QPolygonF slanted(int x, int y, int w, int h, double k) {
    const int lean = h / 4;
    return QPolygonF({QPointF((x + lean) * k, y * k), QPointF((x + lean + w) * k, y * k),
                      QPointF((x + w) * k, (y + h) * k), QPointF(x * k, (y + h) * k)});
}
QPolygonF iconShadow(double k) {
    return slanted(5, 7, 24, 22, k);
}
QPolygonF iconPage(double k) {
    return slanted(2, 3, 24, 22, k);
}
QPolygonF iconTitleBar(double k) {
    return slanted(2, 3, 24, 5, k);
}

// A window seen at a slant: a white page with a black outline and a cyan title bar, casting a grey
// shadow down to the right; transparent around it. `size` is 16, 32 or 48; `mono` leaves out the
// colours (the bar and the shadow turn black).
QImage iconImage(int size, bool mono) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double k = size / 32.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(mono ? iconBlack : iconGrey);
    painter.drawPolygon(iconShadow(k));
    painter.setBrush(iconWhite);
    painter.setPen(QPen(iconBlack, 1));
    painter.drawPolygon(iconPage(k));
    painter.setBrush(mono ? iconBlack : iconCyan);
    painter.drawPolygon(iconTitleBar(k));
    return image;
}

// The same picture as a scalable SVG, for desktops that draw icons at any size.
QByteArray iconSvg() {
    auto polygon = [](const QPolygonF& shape, const QColor& fill, bool outlined) {
        QByteArray points;
        for (const QPointF& point : shape)
            points += QByteArray::number(point.x()) + ',' + QByteArray::number(point.y()) + ' ';
        QByteArray element =
            "  <polygon points=\"" + points.trimmed() + "\" fill=\"" + fill.name().toLatin1() + '"';
        if (outlined)
            element += " stroke=\"#000000\" stroke-width=\"1\" stroke-linejoin=\"miter\"";
        return element + "/>\n";
    };
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
           "viewBox=\"0 0 32 32\">\n" +
           polygon(iconShadow(1), iconGrey, false) + polygon(iconPage(1), iconWhite, true) +
           polygon(iconTitleBar(1), iconCyan, true) + "</svg>\n";
}

// ---- A Windows icon file with the three images: 4 bits a pixel for the 16-colour ones, 1 bit for
// the black-and-white one, each with its transparency mask.

void put16(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& out, quint32 v) {
    put16(out, int(v & 0xFFFF));
    put16(out, int(v >> 16));
}

// The image's index in `palette` of each opaque pixel; transparent pixels get index 0 and a set
// bit in the mask.
QByteArray iconBitmap(const QImage& image, const QList<QRgb>& palette, int bitsPerPixel) {
    const int size = image.width();
    const int rowBytes = ((size * bitsPerPixel + 31) / 32) * 4;
    const int maskRowBytes = ((size + 31) / 32) * 4;
    QByteArray dib;
    put32(dib, 40);
    put32(dib, quint32(size));
    put32(dib, quint32(size * 2)); // colour rows and mask rows
    put16(dib, 1);
    put16(dib, bitsPerPixel);
    put32(dib, 0);
    put32(dib, quint32((rowBytes + maskRowBytes) * size));
    put32(dib, 0);
    put32(dib, 0);
    put32(dib, quint32(palette.size()));
    put32(dib, 0);
    for (const QRgb colour : palette)
        put32(dib, colour & 0xFFFFFF);
    QByteArray pixels(rowBytes * size, 0), mask(maskRowBytes * size, 0);
    for (int y = 0; y < size; ++y) {
        const int row = size - 1 - y; // bottom-up
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) < 128) {
                mask[row * maskRowBytes + x / 8] =
                    char(mask[row * maskRowBytes + x / 8] | (0x80 >> (x % 8)));
                continue;
            }
            const int index = int(palette.indexOf(pixel | 0xFF000000));
            const int bit = x * bitsPerPixel;
            const int shift = 8 - bitsPerPixel - bit % 8;
            pixels[row * rowBytes + bit / 8] =
                char(pixels[row * rowBytes + bit / 8] | (index << shift));
        }
    }
    return dib + pixels + mask;
}

QByteArray iconFile(const QImage& colour32, const QImage& colour16, const QImage& mono32) {
    const QList<QRgb> monoPalette{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const QByteArray images[] = {iconBitmap(colour32, standardPalette, 4),
                                 iconBitmap(colour16, standardPalette, 4),
                                 iconBitmap(mono32, monoPalette, 1)};
    const int sizes[] = {32, 16, 32};
    const int colours[] = {16, 16, 2};
    const int bits[] = {4, 4, 1};
    QByteArray file;
    put16(file, 0);
    put16(file, 1); // an icon
    put16(file, 3);
    quint32 offset = 6 + 3 * 16;
    for (int i = 0; i < 3; ++i) {
        file.append(char(sizes[i]));
        file.append(char(sizes[i]));
        file.append(char(colours[i] == 16 ? 16 : 2));
        file.append(char(0));
        put16(file, 1);
        put16(file, bits[i]);
        put32(file, quint32(images[i].size()));
        put32(file, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images)
        file += image;
    return file;
}

// The images as PNG files with a palette: the 16 standard colours, or black and white.
QImage withPalette(const QImage& image, const QList<QRgb>& palette) {
    QList<QRgb> table = palette;
    table.append(qRgba(0, 0, 0, 0)); // transparent
    return image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

bool save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

bool write(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QImage colour32 = iconImage(32, false), colour16 = iconImage(16, false),
                 mono32 = iconImage(32, true);
    const QList<QRgb> monoPalette{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const bool ok =
        save(formulaImage(), dir + "/formula.bmp") &&
        save(withPalette(colour32, standardPalette), dir + "/icon-32.png") &&
        save(withPalette(colour16, standardPalette), dir + "/icon-16.png") &&
        save(withPalette(mono32, monoPalette), dir + "/icon-32-mono.png") &&
        save(withPalette(iconImage(48, false), standardPalette), dir + "/icon-48.png") &&
        write(iconSvg(), dir + "/correlatore.svg") &&
        write(iconFile(colour32, colour16, mono32), dir + "/correlatore.ico");
    return ok ? 0 : 1;
}
