// The pictures the program carries: the icons as a desktop installs them (the 16, 32 and 48 pixel
// PNGs and the scalable SVG), the window's icon file and the formula picture. Guards against an
// icon whose size does not match its hicolor folder, an SVG that drifts from the pixel icons, a
// picture that lost its parts (page, title bar, shadow, transparency), colours outside the
// standard palette, and formula ink outside its boxes. It cannot judge whether a picture looks
// good, only that every size shows the same one.

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSet>
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

// ---- Formula picture

namespace {

struct InkBox {
    const char* element;
    int left, right, top, bottom;
};

const InkBox formulaBoxes[] = {
    {"C r t", 6, 28, 28, 40},
    {"=", 36, 45, 33, 36},
    {"(", 54, 57, 28, 42},
    {"2", 66, 72, 28, 42},
    {"/", 80, 84, 28, 42},
    {"pi", 91, 100, 28, 42},
    {")", 106, 109, 28, 42},
    {"ArcSen", 118, 162, 30, 40},
    {"[", 177, 183, 20, 48},
    {"numerator 1", 250, 253, 18, 28},
    {"bar", 188, 326, 35, 35},
    {"1", 203, 206, 47, 64},
    {"+", 218, 227, 47, 64},
    {"(", 239, 242, 47, 64},
    {"Ni", 254, 266, 47, 64},
    {"/", 272, 277, 47, 64},
    {"Si", 282, 292, 47, 64},
    {")", 307, 310, 47, 64},
    {"superscript 2", 316, 321, 41, 50},
    {"]", 331, 337, 19, 47},
};

} // namespace

TEST(FormulaPicture, InkFillsItsBoxesAndNothingElse) {
    Q_INIT_RESOURCE(correlatore_assets_rc);
    const QImage image(QStringLiteral(":/formula.bmp"));
    ASSERT_EQ(image.size(), QSize(342, 83));
    EXPECT_EQ(image.bitPlaneCount(), 24);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ASSERT_TRUE(c == Qt::white || c == Qt::black) << x << "," << y;
            if (c == Qt::white)
                continue;
            bool inABox = false;
            for (const InkBox& box : formulaBoxes)
                inABox |= x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
            ASSERT_TRUE(inABox) << "ink outside every box at " << x << "," << y;
        }
    for (const InkBox& box : formulaBoxes) {
        // Each element's ink reaches all four sides of its box.
        bool left = false, right = false, top = false, bottom = false;
        for (int y = box.top; y <= box.bottom; ++y)
            for (int x = box.left; x <= box.right; ++x)
                if (image.pixelColor(x, y) == Qt::black) {
                    left |= x == box.left;
                    right |= x == box.right;
                    top |= y == box.top;
                    bottom |= y == box.bottom;
                }
        EXPECT_TRUE(left && right && top && bottom) << box.element;
    }
}

TEST(ProgramIcon, ThreeImagesInTheStandardColours) {
    Q_INIT_RESOURCE(correlatore_assets_rc);
    QImageReader reader(QStringLiteral(":/correlatore.ico"));
    ASSERT_EQ(reader.imageCount(), 3);
    const QSet<QRgb> standard{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const struct {
        int size;
        bool mono;
    } images[] = {{32, false}, {16, false}, {32, true}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(images[i].size, images[i].size));
        EXPECT_EQ(qAlpha(image.pixel(0, image.height() - 1)), 0); // transparent around the page
        QSet<QRgb> used;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 255)
                    used.insert(image.pixel(x, y) & 0xFFFFFF);
        EXPECT_TRUE(standard.contains(used));
        EXPECT_TRUE(used.contains(0xFFFFFF) && used.contains(0x000000)); // page and outline
        EXPECT_EQ(used.contains(0x00FFFF), !images[i].mono);             // the cyan title bar
        if (images[i].mono) {
            EXPECT_EQ(used.size(), 2);
        }
    }
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // painting an SVG needs one; offscreen is enough
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
