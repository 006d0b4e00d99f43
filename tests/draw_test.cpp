// The drawing surface, the chart frame, the curves on it, the renderer and the picture files.
// Guards against: an off-by-one in the frame's whole-number loops (a dot at x = 9200 on a
// horizontal row, a missing last dot), axes that stop short, the foreground colour not used for
// unflagged dots, a bad coordinate recorded instead of raising a run-time error, pixels that do
// not land where the geometry says or differ from the page's, an invisible simulated point; a
// curve drawn again and again lengthening the drawing, or the shortening changing the picture; a
// PNG at the wrong scale, an SVG grown back to one element a dot.

#include "chart_frame.h"
#include "chart_geometry.h"
#include "correlator.h"
#include "curves.h"
#include "display_list.h"
#include "model_band.h"
#include "picture_file.h"
#include "pixel_picture.h"
#include "renderer.h"
#include "residual_chart.h"
#include "run_time_error.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace correlatore;

namespace {

DrawOp dot(float x, float y, ColorRef c = black) {
    return {DrawOp::Kind::Point, x, y, 0, 0, c};
}

DisplayList frame(ColorRef foreColor = black) {
    DrawingSurface surface(foreColor);
    drawChartFrame(surface);
    return surface.ops();
}

} // namespace

// ---- Geometry

TEST(ChartGeometry, MapsTheAxesEnds) {
    const struct {
        const char* name;
        float got, want;
    } cases[] = {
        {"-60 dB at x = 0", chart::xOfSiNi(-60), 0},
        {"0 dB at x = 4600", chart::xOfSiNi(0), 4600},
        {"+60 dB at x = 9200", chart::xOfSiNi(60), 9200},
        {"-59.5 dB at x = 38.33", chart::xOfSiNi(-59.5), static_cast<float>(9200.0 * 0.5 / 120)},
        {"C = 1 at y = 0", chart::yOfCoefficient(1), 0},
        {"C = 0 at y = 3200", chart::yOfCoefficient(0), 3200},
        {"C = -1 at y = 6400", chart::yOfCoefficient(-1), 6400},
        {"P = 1 at y = 0", chart::yOfCoincidence(1), 0},
        {"P = 0.5 at y = 3200", chart::yOfCoincidence(0.5), 3200},
        {"P = 0 at y = 6400", chart::yOfCoincidence(0), 6400},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
}

// ---- Frame

TEST(ChartFrame, DotsAndAxesInTheClassicOrder) {
    const DisplayList ops = frame();
    ASSERT_EQ(ops.size(), static_cast<std::size_t>(frameOpCount));
    // Vertical dotted lines: 21 of 161 dots, x outer, y inner.
    EXPECT_EQ(ops[0], dot(0, 0));
    EXPECT_EQ(ops[160], dot(0, 6400));
    EXPECT_EQ(ops[161], dot(460, 0));
    EXPECT_EQ(ops[3380], dot(9200, 6400));
    // Horizontal dotted lines: 21 of 154 dots, each ending at 9180.
    EXPECT_EQ(ops[3381], dot(0, 0));
    EXPECT_EQ(ops[3381 + 153], dot(9180, 0));
    EXPECT_EQ(ops[3381 + 154], dot(0, 320));
    EXPECT_EQ(ops[6614], dot(9180, 6400));
    for (std::size_t i = 3381; i < 6615; ++i)
        ASSERT_LT(ops[i].x1, 9200.0f) << "horizontal row dot " << i;
    EXPECT_EQ(ops[6615], (DrawOp{DrawOp::Kind::Line, 0, 3200, 9360, 3200, black}));
    EXPECT_EQ(ops[6616], (DrawOp{DrawOp::Kind::Line, 4600, 0, 4600, 6400, black}));
}

TEST(ChartFrame, DotsTakeTheForegroundColourAndAxesAreBlack) {
    const ColorRef grey = 0x404040;
    const DisplayList ops = frame(grey);
    EXPECT_EQ(ops.front().colour, grey);
    EXPECT_EQ(ops[6614].colour, grey);
    EXPECT_EQ(ops[6615].colour, black);
    EXPECT_EQ(ops[6616].colour, black);
}

// ---- Surface

TEST(DrawingSurface, FlagsSayWhetherTheColourApplies) {
    DrawingSurface surface(0x123456);
    surface.PSet(0, 1, 2, red);
    surface.PSet(2, 1, 2, red);
    surface.Circle(0, 1, 2, 10, blue);
    surface.Circle(2, 1, 2, 10, blue);
    surface.Line(4, 0, 0, 1, 1, red);
    const DisplayList& ops = surface.ops();
    EXPECT_EQ(ops[0].colour, 0x123456u);
    EXPECT_EQ(ops[1].colour, red);
    EXPECT_EQ(ops[2].colour, 0x123456u);
    EXPECT_EQ(ops[3].colour, blue);
    EXPECT_EQ(ops[4].colour, red);
    surface.Cls();
    EXPECT_TRUE(surface.isEmpty());
}

TEST(DrawingSurface, BadArgumentsRaiseARunTimeErrorAndDrawNothing) {
    DrawingSurface surface;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_THROW(surface.PSet(0, nan, 0, 0), RunTimeError);
    EXPECT_THROW(surface.PSet(0, 0, inf, 0), RunTimeError);
    EXPECT_THROW(surface.Line(4, 0, 0, 1e30f, 0, 0), RunTimeError);
    EXPECT_THROW(surface.Circle(2, 0, 0, -1, blue), RunTimeError);
    EXPECT_TRUE(surface.isEmpty());
}

// ---- Curves

TEST(Curves, TheoreticalCurveGoesOnTopOfWhatIsThere) {
    DrawingSurface surface;
    drawChartFrame(surface);
    drawTheoreticalCurve(surface);
    const DisplayList& ops = surface.ops();
    ASSERT_EQ(ops.size(), static_cast<std::size_t>(frameOpCount + 1200));
    EXPECT_EQ(ops[frameOpCount], dot(0, 3199.998f, red));
    EXPECT_EQ(ops.back(), dot(9192.333f, 1.2927632f, red));
}

TEST(Curves, SimulatedPointIsABlueCircleOfRadiusTen) {
    DrawingSurface surface;
    drawSimulatedPoint(surface, 60.0, 1.0);
    drawSimulatedPoint(surface, -60.0, 0.5);
    EXPECT_EQ(surface.ops()[0], (DrawOp{DrawOp::Kind::Circle, 9200, 0, 10, 0, blue}));
    EXPECT_EQ(surface.ops()[1], (DrawOp{DrawOp::Kind::Circle, 0, 3200, 10, 0, blue}));
}

// ---- Renderer

namespace {

QImage rendered(const DisplayList& ops, double scale = 1.0) {
    QImage image(static_cast<int>(700 * scale), static_cast<int>(450 * scale),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    render(ops, painter);
    return image;
}

bool isColour(const QImage& image, int x, int y, QColor colour) {
    return image.pixelColor(x, y) == colour;
}

} // namespace

namespace {

// The frame, then each drawing in turn, settled as the window settles it after each procedure.
DisplayList drawnInTurn(const std::vector<std::function<void(DrawingSurface&)>>& drawings,
                        bool settle = true) {
    DrawingSurface surface;
    drawChartFrame(surface);
    for (const auto& draw : drawings) {
        if (settle)
            surface.dropHiddenRepeats();
        draw(surface);
    }
    if (settle)
        surface.dropHiddenRepeats();
    return surface.ops();
}

} // namespace

TEST(DrawingSurface, RepeatedDrawingsKeepOneCopyOnTopAndThePictureUnchanged) {
    const auto curve = [](DrawingSurface& s) {
        drawTheoreticalCurve(s);
    };
    const auto circles = [](DrawingSurface& s) {
        for (int i = 0; i <= 240; i += 4)
            drawSimulatedPoint(s, -60.0 + 0.5 * i, 0.5 + i / 500.0);
    };
    const DisplayList once = drawnInTurn({circles, curve});
    std::vector<std::function<void(DrawingSurface&)>> many{curve, circles};
    for (int i = 0; i < 100; ++i)
        many.push_back(curve);
    const DisplayList repeated = drawnInTurn(many);
    EXPECT_EQ(repeated.size(), once.size());
    EXPECT_EQ(repeated, once); // the circles, then the curve over them
    const DisplayList everyCall = drawnInTurn(many, false);
    EXPECT_GT(everyCall.size(), 100 * 1200u);
    EXPECT_TRUE(rendered(repeated) == rendered(everyCall)) << "the picture changed";
    // Repeats within one drawing stay call for call: the frame sets some dots twice.
    EXPECT_EQ(drawnInTurn({}).size(), static_cast<std::size_t>(frameOpCount));
}

TEST(Renderer, FramePixelsLandWhereTheGeometrySays) {
    const QImage image = rendered(frame());
    // 15 twips a pixel: x = 460 is pixel 30, y = 40 pixel 2; the axes on rows/columns 213 and 306.
    EXPECT_TRUE(isColour(image, 30, 2, Qt::black));
    EXPECT_TRUE(isColour(image, 30, 1, Qt::white));
    EXPECT_TRUE(isColour(image, 613, 426, Qt::black)); // (9200, 6400)
    for (int x = 0; x <= 624; ++x)
        ASSERT_TRUE(isColour(image, x, 213, Qt::black)) << "horizontal axis at x = " << x;
    EXPECT_TRUE(isColour(image, 625, 213, Qt::white));
    for (int y = 0; y <= 426; ++y)
        ASSERT_TRUE(isColour(image, 306, y, Qt::black)) << "vertical axis at y = " << y;
    EXPECT_TRUE(isColour(image, 306, 427, Qt::white));
}

TEST(Renderer, ASimulatedPointShowsAsASmallBlueRing) {
    DrawingSurface surface;
    drawSimulatedPoint(surface, 0.0, 0.75); // (4600, 1600): pixel (306, 106)
    const QImage image = rendered(surface.ops());
    int bluePixels = 0;
    for (int y = 100; y < 113; ++y)
        for (int x = 300; x < 313; ++x)
            bluePixels += isColour(image, x, y, Qt::blue);
    EXPECT_GE(bluePixels, 8);
    EXPECT_TRUE(isColour(image, 306 + 2, 106, Qt::blue));
    EXPECT_TRUE(isColour(image, 306, 106, Qt::white)); // a ring, not a blob
}

TEST(Renderer, PaintsExactlyThePixelsOfThePixelPicture) {
    std::array<double, simulationStepCount> p{};
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = 0.5 + 0.5 * std::sin(static_cast<double>(i) / 7.0);
    DrawingSurface chart;
    drawModelBand(chart, expectedCurves({800, 20000}).model);
    drawChartFrame(chart);
    drawAnalogueCurve(chart, analogueCurves({800, 20000}).expected);
    for (int i = 0; i < simulationStepCount; ++i) { // rings cut by the chart's edges included
        drawAnalogueEstimate(chart, siNiOfStep(i), 2.0 * p[static_cast<std::size_t>(i)] - 1.0);
        drawSimulatedPoint(chart, siNiOfStep(i), p[static_cast<std::size_t>(i)]);
    }
    drawTheoreticalCurve(chart);
    ChartTexts legend;
    drawChartLegend(chart, legend, {true, true, true, true});
    const struct {
        const char* name;
        DisplayList ops;
    } drawings[] = {{"the chart with the model's band", chart.ops()},
                    {"a residual chart", residualChart(analyseRun({800, 20000}, p), 1).ops}};
    for (const auto& drawing : drawings) {
        SCOPED_TRACE(drawing.name);
        PixelPicture pixels(710, 510);
        pixels.draw(drawing.ops);
        QImage painted(pixels.width(), pixels.height(), QImage::Format_RGB32);
        painted.fill(toQColor(chartBackground));
        QPainter painter(&painted);
        render(drawing.ops, painter);
        painter.end();
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                ASSERT_EQ(painted.pixelColor(x, y), toQColor(pixels.pixel(x, y))) << x << "," << y;
    }
}

// ---- Picture files

TEST(PictureFile, PngIsTheRenderedChartAtTheAskedScale) {
    for (const int scale : {1, 3}) {
        const auto bytes = chartPicture(frame(), PictureFormat::Png, scale);
        ASSERT_TRUE(bytes);
        const QImage image = QImage::fromData(*bytes, "PNG");
        ASSERT_EQ(image.size(), QSize(625 * scale, 427 * scale)) << scale;
        EXPECT_EQ(image.pixelColor(30 * scale, 2 * scale), Qt::black);    // a grid dot
        EXPECT_EQ(image.pixelColor(624 * scale, 213 * scale), Qt::black); // the axis' last pixel
        EXPECT_NE(image.pixelColor(31 * scale, 2 * scale), Qt::black);
    }
}

TEST(PictureFile, SvgDrawsPointsOfOneColourAsOnePath) {
    DrawingSurface surface;
    drawChartFrame(surface);
    drawSimulatedPoint(surface, 0.0, 0.5);
    drawTheoreticalCurve(surface);
    const auto bytes = chartPicture(surface.ops(), PictureFormat::Svg, 2);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->startsWith("<?xml"));
    EXPECT_EQ(bytes->count("<rect"), 1); // the background
    EXPECT_EQ(bytes->count("<path"), 2); // the frame's dots, then the curve's points
    EXPECT_EQ(bytes->count("<polyline"), 2);
    EXPECT_EQ(bytes->count("<circle") + bytes->count("<ellipse"), 1);
    EXPECT_LT(bytes->count("<g "), 12); // state changes only where the colour or kind changes
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // fonts and images need one; offscreen is enough
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
