// What the grabbed window shows: label text in the wrong colour, axis numbers away from their
// ticks, a caption cut off by its control, the grid, axes and formula off their pixels, a window
// that differs from the exported picture, repeated presses that change the picture.

#include "picture_file.h"
#include "renderer.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLabel>

using namespace correlatore;

namespace {

enum class Ink { None, Black, Red, Blue, Other };

// The colour a pixel of anti-aliased text was written in, judged by its hue: small text has few
// pixels of the full colour.
Ink inkOf(QColor pixel) {
    if (!isInk(pixel, toQColor(chartBackground)))
        return Ink::None;
    const int r = pixel.red(), g = pixel.green(), b = pixel.blue();
    if (b - std::max(r, g) > 60)
        return Ink::Blue;
    if (r - std::max(g, b) > 60)
        return Ink::Red;
    if (std::max({r, g, b}) - std::min({r, g, b}) < 40)
        return Ink::Black;
    return Ink::Other;
}

} // namespace

TEST_F(WindowTest, LabelsWriteInTheirOwnColours) {
    const QImage image = grabbed(form);
    const struct {
        const char* name;
        Ink ink;
    } labels[] = {
        {"Label1", Ink::Blue},  {"Label2", Ink::Black}, {"Label3", Ink::Black},
        {"Label4", Ink::Black}, {"Label5", Ink::Black}, {"Label6", Ink::Black},
        {"Label7", Ink::Black}, {"Label8", Ink::Red},   {"Label9", Ink::Blue},
    };
    for (const auto& label : labels) {
        QWidget* widget = control<QWidget>(label.name);
        int inOwnColour = 0, inAnotherColour = 0;
        const QRect box = widget->geometry();
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                if (form.childAt(x, y) != widget)
                    continue; // a button on top
                const Ink ink = inkOf(image.pixelColor(x, y));
                inOwnColour += ink == label.ink;
                inAnotherColour += ink != label.ink && ink != Ink::None;
            }
        EXPECT_GT(inOwnColour, 10) << label.name;
        EXPECT_EQ(inAnotherColour, 0) << label.name;
    }
}
TEST_F(WindowTest, NoCaptionIsCutOff) {
    control<QWidget>("Picture1")->setFocus(); // no focus frame over a caption
    QCoreApplication::processEvents();
    EXPECT_EQ(cutCaptions(form), std::vector<std::string>{});
}
TEST_F(WindowTest, AxisNumbersStandUnderTheirTicks) {
    const QImage image = grabbed(form);
    QWidget* label = control<QWidget>("Label3");
    // Columns of ink under the chart, gathered into words where a gap is wider than a blank.
    std::vector<Span> numbers;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = label->y(); y <= label->geometry().bottom(); ++y)
            ink |= form.childAt(x, y) == label &&
                   isInk(image.pixelColor(x, y), toQColor(chartBackground));
        if (!ink)
            continue;
        if (numbers.empty() || x - numbers.back().right > 6)
            numbers.push_back({x, x});
        numbers.back().right = x;
    }
    ASSERT_EQ(numbers.size(), 3u) << "\"-60\", \"0\" and \"+60\"";
    EXPECT_LE(numbers[0].left, 1) << "\"-60\" begins under x = 0";
    EXPECT_NEAR((numbers[1].left + numbers[1].right) / 2.0, 4600.0 / 15, 2.0)
        << "\"0\" under the vertical axis";
    EXPECT_GT(numbers[2].right, px(9200)) << "\"+60\" ends past the plot";
    EXPECT_LE(numbers[2].right, px(9510));
}
TEST_F(WindowTest, GrabShowsGridAxesAndFormula) {
    const QImage image = form.grab().toImage();
    const auto at = [&](int x, int y) {
        return image.pixelColor(x, y);
    };
    EXPECT_EQ(at(30, 2), Qt::black);                         // a grid dot at (460, 40)
    EXPECT_EQ(at(4, 213), Qt::black);                        // the horizontal axis
    EXPECT_EQ(at(624, 213 - 10), toQColor(chartBackground)); // nothing above it
    EXPECT_EQ(at(306, 400), Qt::black);                      // the vertical axis
    // The formula's fraction bar, one pixel high at y = 35, from the picture's inside corner.
    auto* picture = control<QLabel>("Picture1");
    const QPoint inside = picture->geometry().topLeft() + picture->contentsRect().topLeft();
    EXPECT_EQ(at(inside.x() + 250, inside.y() + 35), Qt::black);
    EXPECT_EQ(at(inside.x() + 250, inside.y() + 37), Qt::white);
}
TEST_F(WindowTest, ExportedPictureMatchesTheWindowPixelForPixel) {
    control<QComboBox>("Combo2")->setEditText("20000");
    press("Command2");
    waitForRunEnd();
    press("Command1");
    // The window's own drawing, background included, without the controls standing on it.
    QImage window(chartPixelWidth, chartPixelHeight, QImage::Format_RGB32);
    window.fill(Qt::magenta); // shows wherever the window paints nothing
    form.render(&window, QPoint(), QRegion(window.rect()), QWidget::DrawWindowBackground);
    const QImage exported =
        QImage::fromData(*chartPicture(form.surface().ops(), PictureFormat::Png, 1), "PNG")
            .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(window.size(), exported.size());
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x)
            ASSERT_EQ(window.pixelColor(x, y), exported.pixelColor(x, y)) << x << "," << y;
}
TEST_F(WindowTest, RepeatedCurvePressesKeepThePictureAndTheDrawingsLength) {
    control<QComboBox>("Combo2")->setEditText("20000");
    press("Command2");
    waitForRunEnd();
    press("Command1");
    const QImage once = grabbed(form);
    const std::size_t lengthOnce = form.surface().ops().size();
    EXPECT_EQ(lengthOnce, frameOnly().size() + 241 + 1200);
    for (int i = 0; i < 60; ++i)
        press("Command1");
    QCoreApplication::processEvents();
    // Every repaint draws what the list holds: no longer list, no dearer repaint.
    EXPECT_EQ(form.surface().ops().size(), lengthOnce);
    EXPECT_TRUE(grabbed(form) == once) << "the picture changed";
}