// Makes the program's images again: the formula picture and the icons. Run by the
// `regenerate-assets` target, which writes into the source tree; the images it makes are kept in
// the repository so that building never depends on the fonts of the machine.

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

// The standard 16-colour palette's colours that the icon uses.
const QColor iconBlack(0, 0, 0);
const QColor iconWhite(255, 255, 255);
const QColor iconCyan(0, 255, 255);
const QColor iconGrey(128, 128, 128);

// A window seen at a slant: a white page with a black outline and a cyan title bar, casting a grey
// shadow down to the right. `size` is 32 or 16; `mono` leaves out the colours.
QImage iconImage(int size, bool mono) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double k = size / 32.0;
    auto slanted = [k](int x, int y, int w, int h) {
        // A parallelogram leaning right by a quarter of its height.
        const int lean = h / 4;
        return QPolygonF({QPointF((x + lean) * k, y * k), QPointF((x + lean + w) * k, y * k),
                          QPointF((x + w) * k, (y + h) * k), QPointF(x * k, (y + h) * k)});
    };
    painter.setPen(Qt::NoPen);
    painter.setBrush(mono ? iconBlack : iconGrey);
    painter.drawPolygon(slanted(5, 7, 24, 22));
    painter.setBrush(iconWhite);
    painter.setPen(QPen(iconBlack, 1));
    painter.drawPolygon(slanted(2, 3, 24, 22));
    painter.setBrush(mono ? iconBlack : iconCyan);
    painter.drawPolygon(slanted(2, 3, 24, 5));
    painter.end();
    if (mono)
        return image.convertToFormat(QImage::Format_ARGB32);
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool ok = save(formulaImage(), dir + "/formula.bmp") &&
                    save(iconImage(32, false), dir + "/icon-32.png") &&
                    save(iconImage(16, false), dir + "/icon-16.png") &&
                    save(iconImage(32, true), dir + "/icon-32-mono.png");
    return ok ? 0 : 1;
}
