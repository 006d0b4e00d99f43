// The program's icons as a desktop installs them: the 16, 32 and 48 pixel PNGs and the scalable
// SVG. Guards against an icon whose size does not match its hicolor folder, an SVG that drifts
// from the pixel icons, and a picture that lost its parts (page, title bar, shadow, transparency).
// It cannot judge whether the picture looks good, only that every size shows the same one.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QString assets = QStringLiteral(CORRELATORE_ASSETS_DIR);

enum class Ink { Transparent, White, Black, Cyan, Grey, Other };

const char* inkName(Ink ink) {
    switch (ink) {
    case Ink::Transparent:
        return "transparent";
    case Ink::White:
        return "white";
    case Ink::Black:
        return "black";
    case Ink::Cyan:
        return "cyan";
    case Ink::Grey:
        return "grey";
    case Ink::Other:
        break;
    }
    return "another colour";
}

// The nearest of the icon's inks; the SVG is drawn antialiased, so its edges blend.
Ink inkAt(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    if (c.alpha() < 128)
        return Ink::Transparent;
    const auto near = [&c](int r, int g, int b) {
        return std::abs(c.red() - r) + std::abs(c.green() - g) + std::abs(c.blue() - b) < 60;
    };
    if (near(255, 255, 255))
        return Ink::White;
    if (near(0, 0, 0))
        return Ink::Black;
    if (near(0, 255, 255))
        return Ink::Cyan;
    if (near(128, 128, 128))
        return Ink::Grey;
    return Ink::Other;
}

QImage svgIcon(int size) {
    QSvgRenderer renderer(assets + "/correlatore.svg");
    EXPECT_TRUE(renderer.isValid());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

struct IconCase {
    const char* name;
    int size;
    QImage image;
};

std::vector<IconCase> everyIcon() {
    return {{"16 px PNG", 16, QImage(assets + "/icon-16.png")},
            {"32 px PNG", 32, QImage(assets + "/icon-32.png")},
            {"48 px PNG", 48, QImage(assets + "/icon-48.png")},
            {"SVG at 48 px", 48, svgIcon(48)},
            {"SVG at 256 px", 256, svgIcon(256)}};
}

} // namespace

TEST(Icon, EachFileHasTheSizeOfItsFolder) {
    for (const IconCase& icon : everyIcon()) {
        EXPECT_EQ(icon.image.width(), icon.size) << icon.name;
        EXPECT_EQ(icon.image.height(), icon.size) << icon.name;
    }
    QSvgRenderer renderer(assets + "/correlatore.svg");
    EXPECT_EQ(renderer.defaultSize(), QSize(32, 32)) << "the SVG's own size";
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 32, 32)) << "the SVG's view box";
}

// Places on the 32-unit square where every size shows the same ink, away from the edges.
TEST(Icon, EverySizeShowsTheSlantedWindow) {
    const struct {
        const char* place;
        double x, y;
        Ink ink;
    } places[] = {
        {"top-left corner", 0.5, 0.5, Ink::Transparent},
        {"bottom-left corner", 0.5, 31.5, Ink::Transparent},
        {"top-right corner", 31.5, 0.5, Ink::Transparent},
        {"title bar", 14, 5.5, Ink::Cyan},
        {"page", 14, 16, Ink::White},
        {"page, low left", 6, 22, Ink::White},
        {"shadow under the page", 20, 27.5, Ink::Grey},
        {"shadow right of the page", 30.5, 14, Ink::Grey},
    };
    for (const IconCase& icon : everyIcon()) {
        const double k = icon.size / 32.0;
        for (const auto& p : places) {
            const Ink ink = inkAt(icon.image, int(p.x * k), int(p.y * k));
            EXPECT_EQ(ink, p.ink) << icon.name << ", " << p.place << ": " << inkName(ink)
                                  << " instead of " << inkName(p.ink);
        }
    }
}

// Away from the shapes' edges, where antialiasing and outline placement differ (the SVG's outline
// is centred on the edge, the pixels' lies inside it), the SVG shows the pixel icon's ink.
bool insideOneInk(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (inkAt(image, x + dx, y + dy) != inkAt(image, x, y))
                return false;
    return true;
}

TEST(Icon, SvgShowsThePixelIconAt48Pixels) {
    const QImage png(assets + "/icon-48.png");
    const QImage svg = svgIcon(48);
    int compared = 0, differing = 0;
    for (int y = 1; y < 47; ++y)
        for (int x = 1; x < 47; ++x) {
            if (!insideOneInk(png, x, y))
                continue;
            ++compared;
            if (inkAt(png, x, y) != inkAt(svg, x, y)) {
                ++differing;
                ADD_FAILURE() << "at (" << x << ", " << y << ") the SVG shows "
                              << inkName(inkAt(svg, x, y)) << ", the PNG "
                              << inkName(inkAt(png, x, y));
            }
        }
    EXPECT_GT(compared, 48 * 48 / 2) << "too few pixels away from the edges to compare";
    EXPECT_EQ(differing, 0) << "of " << compared << " pixels compared";
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // painting an SVG needs one; offscreen is enough
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
