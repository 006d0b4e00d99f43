// Pictures from correlatore-cli render, set against the window they come from. Guards against: a
// picture whose labels, chart or circles differ from the window's by one pixel; a window run that
// its printed seed cannot repeat; a PNG that lands on a slide at the wrong size or an SVG that a
// browser shows at another; an SVG grown back to one element a dot, or drawn differently by a
// browser; a picture that does not say what made it or that the desktop's scaling changes;
// render --simulate without its progress bar; the model's band drawn unasked or over the circles;
// a residual chart without its lines; a picture saved from the window's menu that is not render's
// for the same run; text added to the page's PNG that a reader cannot find, or that spoils it.

#include "chart_context_menu.h"
#include "chart_geometry.h"
#include "control_table.h"
#include "drawing_measures.h"
#include "expectation.h"
#include "form1.h"
#include "model_band.h"
#include "pixel_picture.h"
#include "png_text.h"
#include "renderer.h"
#include "run_program.h"
#include "scratch_folder.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>
#include <utility>

using namespace correlatore;

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

QByteArray fileBytes(const std::string& path) {
    return QByteArray::fromStdString(fileText(path));
}

QImage renderedPng(const ScratchFolder& folder, std::vector<std::string> arguments) {
    const std::string out = folder / "picture.png";
    arguments.insert(arguments.begin(), {"render", "--out", out, "--scale", "1"});
    const ProgramResult result = runProgram(cli, arguments);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
}

// Pixels that differ at all.
int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// The window as a user has it: the whole layout showing, the lists as the run found them.
class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(pixelsOf(layoutExtent().width), pixelsOf(layoutExtent().height));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    template <typename W> W* control(const char* name) {
        W* widget = form.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Clicks without moving the mouse or the focus, so that no button shows hovered or focused.
    void press(const char* button) { control<QPushButton>(button)->click(); }

    void waitForRunEnd() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isSimulationRunning(); }, 120000));
        QCoreApplication::processEvents();
    }

    QImage grabbed(QSize size) {
        return form.grab(QRect(QPoint(0, 0), size)).toImage().convertToFormat(QImage::Format_RGB32);
    }

    Form1 form;
};

} // namespace

TEST_F(PictureTest, DefaultPictureIsTheWindowsChartWithItsLabelsToThePixel) {
    press("Command1");
    ScratchFolder folder("picture_chart");
    const QImage picture = renderedPng(folder, {"--theory"});
    const QRect label2 = control<QLabel>("Label2")->geometry();
    const QRect label3 = control<QLabel>("Label3")->geometry();
    // Just past "Si/Ni (db)" and just below the axis numbers; no legend, button or list.
    EXPECT_GT(picture.width(), label2.right() + 1);
    EXPECT_LT(picture.width(), control<QLabel>("Label8")->x());
    EXPECT_LT(picture.width(), control<QPushButton>("Command1")->x());
    EXPECT_GT(picture.height(), label3.bottom() + 1);
    EXPECT_LT(picture.height(), control<QLabel>("Label1")->y());
    EXPECT_LT(picture.height(), control<QLabel>("Label6")->y());
    EXPECT_EQ(differingPixels(picture, grabbed(picture.size())), 0);
}

TEST_F(PictureTest, AWindowRunIsMadeAgainByItsPrintedSeed) {
    control<QComboBox>("Combo1")->setEditText("800");
    control<QComboBox>("Combo2")->setEditText("20000");
    testing::internal::CaptureStderr();
    press("Command2");
    const std::string told = testing::internal::GetCapturedStderr();
    waitForRunEnd();
    const QRegularExpressionMatch seed =
        QRegularExpression("^seed: ([0-9]+)\n$").match(QString::fromStdString(told));
    ASSERT_TRUE(seed.hasMatch()) << told;
    ScratchFolder folder("picture_seed");
    const std::vector<std::string> run = {
        "--simulate", "--seed", seed.captured(1).toStdString(), "--beta", "800", "--nm", "20000"};
    const QImage chart = renderedPng(folder, run);
    EXPECT_EQ(differingPixels(chart, grabbed(chart.size())), 0) << "the chart with its labels";
    std::vector<std::string> whole = run;
    whole.emplace_back("--window");
    const QImage window = renderedPng(folder, whole);
    ASSERT_EQ(window.size(), QSize(979, 665));
    EXPECT_EQ(differingPixels(window, grabbed(window.size())), 0) << "the whole window";
}

TEST_F(PictureTest, TheWindowsMenuSavesThePictureThatRenderDrawsForTheRun) {
    ChartContextMenu menu(form);
    form.setSimulationSeed(11);
    control<QComboBox>("Combo1")->setEditText("1600");
    testing::internal::CaptureStderr();
    press("Command2");
    waitForRunEnd();
    testing::internal::GetCapturedStderr();
    ScratchFolder folder("picture_menu");
    for (const char* name : {"saved.png", "saved.svg"}) {
        menu.setFileAsker([&](const QString&, const QString& suggested, const QStringList&) {
            EXPECT_TRUE(suggested.endsWith("correlatore-seme-11.png")) << suggested.toStdString();
            return ChartContextMenu::FileChoice{QString::fromStdString(folder / name), 0};
        });
        menu.carryOut(ChartAction::SavePicture);
    }
    const std::vector<std::string> run = {
        "render", "--out", folder / "render.png", "--simulate", "--seed", "11", "--beta", "1600"};
    ASSERT_EQ(runProgram(cli, run).exitStatus, 0);
    const QImage saved(QString::fromStdString(folder / "saved.png"));
    const QImage rendered(QString::fromStdString(folder / "render.png"));
    ASSERT_EQ(saved.size(), rendered.size());
    EXPECT_EQ(differingPixels(saved.convertToFormat(QImage::Format_RGB32),
                              rendered.convertToFormat(QImage::Format_RGB32)),
              0);
    QImageReader metadata(QString::fromStdString(folder / "saved.png"));
    EXPECT_EQ(metadata.text("Seed").toStdString(), "11");
    EXPECT_EQ(metadata.text("Beta").toStdString(), "1600");
    EXPECT_TRUE(metadata.text("Software").startsWith("correlatore "));
    EXPECT_TRUE(fileText(folder / "saved.svg").find("Seed: 11") != std::string::npos);
}

TEST(PictureFiles, TextAddedToAnEncodedPngReadsBack) {
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.setPixel(2, 1, qRgb(255, 0, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    const std::string with =
        withPngText(png.toStdString(), {{"Seed", "7"}, {"Curves", "E[C] \u00b1 2 sd"}});
    QByteArray bytes = QByteArray::fromStdString(with);
    QBuffer readBack(&bytes);
    QImageReader reader(&readBack, "PNG");
    EXPECT_EQ(reader.text("Seed").toStdString(), "7");
    EXPECT_EQ(reader.text("Curves").toStdString(), "E[C] ?? 2 sd"); // tEXt holds no UTF-8
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(withPngText("GIF89a", {{"Seed", "7"}}), "GIF89a");
}

// ---- The file's own statements: size, density and origin

namespace {

// The pHYs chunk of a PNG: dots per metre across and down, and whether the unit is the metre.
struct PngDensity {
    std::uint32_t x = 0, y = 0;
    int unit = -1;
};

std::uint32_t bigEndian(const QByteArray& bytes, qsizetype at) {
    std::uint32_t value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

PngDensity pngDensity(const QByteArray& png) {
    for (qsizetype at = 8; at + 8 <= png.size();) {
        const auto length = static_cast<qsizetype>(bigEndian(png, at));
        if (png.mid(at + 4, 4) == "pHYs")
            return {bigEndian(png, at + 8), bigEndian(png, at + 12),
                    static_cast<std::uint8_t>(png[at + 16])};
        at += length + 12;
    }
    return {};
}

} // namespace

TEST(PictureFiles, PngRecordsNinetySixDotsPerInchTimesTheScale) {
    ScratchFolder folder("picture_dpi");
    const struct {
        const char* layout;
        QSize windowPixels; // empty: the chart with its labels, whose size depends on the fonts
    } layouts[] = {{"--bare", {625, 427}}, {"--window", {979, 665}}, {nullptr, {}}};
    for (const auto& layout : layouts) {
        QSize windowPixels = layout.windowPixels;
        for (const int scale : {1, 2, 4}) {
            SCOPED_TRACE(std::string(layout.layout ? layout.layout : "labels") + " at scale " +
                         std::to_string(scale));
            std::vector<std::string> arguments = {"render", "--out", folder / "chart.png",
                                                  "--scale", std::to_string(scale)};
            if (layout.layout)
                arguments.emplace_back(layout.layout);
            ASSERT_EQ(runProgram(cli, arguments).exitStatus, 0);
            const QByteArray png = fileBytes(folder / "chart.png");
            const QImage image = QImage::fromData(png, "PNG");
            if (windowPixels.isEmpty())
                windowPixels = image.size();
            EXPECT_EQ(image.size(), windowPixels * scale);
            const PngDensity density = pngDensity(png);
            EXPECT_EQ(density.unit, 1);
            // 96 dpi is 3779.53 dots a metre; the file holds whole dots.
            EXPECT_EQ(density.x, static_cast<std::uint32_t>(std::lround(96.0 * scale / 0.0254)));
            EXPECT_EQ(density.y, density.x);
        }
    }
}

TEST(PictureFiles, SvgStatesTheWindowsPixelSize) {
    ScratchFolder folder("picture_svg_size");
    for (const char* layout : {"--bare", "--window", "--theory"}) {
        SCOPED_TRACE(layout);
        ASSERT_EQ(runProgram(cli, {"render", "--out", folder / "chart.svg", layout}).exitStatus, 0);
        ASSERT_EQ(runProgram(cli, {"render", "--out", folder / "chart.png", "--scale", "1", layout})
                      .exitStatus,
                  0);
        const QSize pixels = QImage(QString::fromStdString(folder / "chart.png")).size();
        const QString svg = QString::fromUtf8(fileBytes(folder / "chart.svg"));
        // CSS pixels are 1/96 inch: the size a browser shows, and the size on paper at 96 dpi.
        EXPECT_TRUE(svg.contains(QStringLiteral(R"(<svg width="%1px" height="%2px")")
                                     .arg(pixels.width())
                                     .arg(pixels.height())))
            << svg.left(300).toStdString();
        EXPECT_TRUE(svg.contains(
            QStringLiteral(R"(viewBox="0 0 %1 %2")").arg(pixels.width()).arg(pixels.height())));
    }
}

// A desktop's scaling, font density and style are for the windows it shows; a picture is the
// window at its own size wherever it is made, and only --scale scales it.
TEST(PictureFiles, TheDesktopsScalingAndStyleChangeNoPicture) {
    ScratchFolder folder("picture_desktop");
    const struct {
        const char* variable;
        const char* value;
    } desktops[] = {{"QT_SCALE_FACTOR", "2"},         {"QT_FONT_DPI", "144"},
                    {"QT_SCREEN_SCALE_FACTORS", "2"}, {"QT_USE_PHYSICAL_DPI", "1"},
                    {"QT_STYLE_OVERRIDE", "windows"}, {"QT_SCALE_FACTOR", "1000"}};
    for (const char* file : {"window.png", "window.svg"}) {
        const auto picture = [&] {
            EXPECT_EQ(runProgram(cli, {"render", "--window", "--theory", "--out", folder / file})
                          .exitStatus,
                      0);
            return fileText(folder / file);
        };
        const std::string plain = picture();
        for (const auto& desktop : desktops) {
            SCOPED_TRACE(std::string(file) + " with " + desktop.variable + "=" + desktop.value);
            setenv(desktop.variable, desktop.value, 1);
            EXPECT_TRUE(picture() == plain);
            unsetenv(desktop.variable);
        }
    }
}

TEST(PictureFiles, PicturesSayWhatMadeThem) {
    ScratchFolder folder("picture_origin");
    const std::vector<std::string> run = {"--theory", "--simulate", "--seed", "7",
                                          "--beta",   "1600",       "--nm",   "20000"};
    for (const char* file : {"run.png", "run.svg"}) {
        std::vector<std::string> arguments = {"render", "--out", folder / file};
        arguments.insert(arguments.end(), run.begin(), run.end());
        ASSERT_EQ(runProgram(cli, arguments).exitStatus, 0);
    }
    QImageReader png(QString::fromStdString(folder / "run.png"));
    const struct {
        const char* key;
        const char* value;
    } fields[] = {{"Curves", "Crsp = f(Si/Ni), Crt = f(Si/Ni)"},
                  {"Beta", "1600"},
                  {"Nm", "20000"},
                  {"Seed", "7"}};
    for (const auto& field : fields)
        EXPECT_EQ(png.text(field.key).toStdString(), field.value) << field.key;
    EXPECT_TRUE(png.text("Software").startsWith("correlatore-cli "))
        << png.text("Software").toStdString();
    EXPECT_FALSE(png.text("Title").isEmpty());
    EXPECT_TRUE(png.text("Description").contains("Beta = 1600, Nm = 20000, seed = 7"));

    const QString svg = QString::fromUtf8(fileBytes(folder / "run.svg"));
    const QString desc = QRegularExpression("<desc>([^<]*)</desc>").match(svg).captured(1);
    EXPECT_TRUE(QRegularExpression("<title>[^<]+</title>").match(svg).hasMatch());
    for (const char* line :
         {"Software: correlatore-cli ", "Curves: Crsp = f(Si/Ni), Crt = f(Si/Ni)", "Beta: 1600",
          "Nm: 20000", "Seed: 7"})
        EXPECT_TRUE(desc.contains(line)) << line << " in " << desc.toStdString();

    // A picture without a run names no seed.
    ASSERT_EQ(runProgram(cli, {"render", "--out", folder / "theory.png", "--theory"}).exitStatus,
              0);
    QImageReader theory(QString::fromStdString(folder / "theory.png"));
    EXPECT_EQ(theory.text("Curves").toStdString(), "Crt = f(Si/Ni)");
    EXPECT_TRUE(theory.text("Seed").isEmpty());
}

// ---- A compact SVG that a browser draws as the PNG

namespace {

std::string chromium() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (access(path, X_OK) == 0)
            return path;
    return {};
}

} // namespace

TEST(PictureFiles, CompactSvgThatChromiumDrawsAsThePng) {
    ScratchFolder folder("picture_chromium");
    const std::vector<std::string> run = {"--theory", "--simulate", "--seed", "4", "--beta", "800"};
    for (const char* file : {"chart.svg", "chart.png"}) {
        std::vector<std::string> arguments = {"render", "--out", folder / file};
        if (std::string_view(file).ends_with(".png"))
            arguments.insert(arguments.end(), {"--scale", "1"});
        arguments.insert(arguments.end(), run.begin(), run.end());
        ASSERT_EQ(runProgram(cli, arguments).exitStatus, 0);
    }
    const QByteArray svg = fileBytes(folder / "chart.svg");
    EXPECT_LE(svg.size(), 150 * 1024);
    EXPECT_LT(svg.count("<path"), 20); // the dots of a colour as one path, not one element each
    EXPECT_EQ(svg.count("<circle") + svg.count("<ellipse"), 241);
    std::vector<std::string> window = {"render", "--window", "--out", folder / "window.svg"};
    window.insert(window.end(), run.begin(), run.end());
    ASSERT_EQ(runProgram(cli, window).exitStatus, 0);
    EXPECT_LE(fileBytes(folder / "window.svg").size(), 160 * 1024); // the widgets add their own

    const std::string browser = chromium();
    if (browser.empty())
        GTEST_SKIP() << "chromium is not installed, so the SVG was not drawn by a browser";
    const QImage png =
        QImage(QString::fromStdString(folder / "chart.png")).convertToFormat(QImage::Format_RGB32);
    const std::string shot = folder / "shot.png";
    const ProgramResult result =
        runProgram(browser, {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                             "--disable-background-networking", "--disable-component-update",
                             "--disable-sync", "--user-data-dir=" + folder / "profile",
                             "--hide-scrollbars", "--force-device-scale-factor=1",
                             "--window-size=" + std::to_string(png.width()) + "," +
                                 std::to_string(png.height()),
                             "--screenshot=" + shot, "file://" + folder / "chart.svg"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const QImage drawn = QImage(QString::fromStdString(shot)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), png.size());
    const int differing = differingPixels(drawn, png);
    std::cout << "chromium's drawing differs from the PNG in " << differing << " of "
              << png.width() * png.height() << " pixels\n";
    EXPECT_LE(differing, png.width() * png.height() / 100);
}

// ---- The model's band and the residuals

namespace {

// The pixels of one colour, as (x, y) pairs in row order.
std::vector<QPoint> pixelsOf(const QImage& image, ColorRef colour) {
    std::vector<QPoint> found;
    const QRgb wanted = toQColor(colour).rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == wanted)
                found.emplace_back(x, y);
    return found;
}

// Rows with at least `least` pixels of a colour: the horizontal lines drawn in it.
std::vector<int> rowsOf(const QImage& image, ColorRef colour, int least) {
    std::vector<int> rows;
    const QRgb wanted = toQColor(colour).rgb();
    for (int y = 0; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == wanted;
        if (count >= least)
            rows.push_back(y);
    }
    return rows;
}

// A bare run of seed 5 at Beta 800, drawn plain and then with one option more (the file left in
// the folder is the second).
std::pair<QImage, QImage> plainAndWith(const ScratchFolder& folder, const std::string& option) {
    const std::vector<std::string> run = {"--bare", "--simulate", "--seed", "5", "--beta", "800"};
    std::vector<std::string> more = run;
    more.push_back(option);
    QImage plain = renderedPng(folder, run);
    return {plain, renderedPng(folder, more)};
}

// The circles' blue pixels above the legend, which stands in the chart's empty lower half.
std::vector<QPoint> circlesAboveTheLegend(const QImage& image) {
    std::vector<QPoint> points = pixelsOf(image, blue);
    std::erase_if(points, [](const QPoint& point) { return point.y() >= 300; });
    return points;
}

} // namespace

TEST(PictureFiles, TheModelsBandShowsUnderTheCirclesOnlyWhenAsked) {
    ScratchFolder folder("picture_band");
    const auto pictures = plainAndWith(folder, "--band");
    const QImage& plain = pictures.first;
    const QImage& band = pictures.second;
    EXPECT_TRUE(pixelsOf(plain, modelBandColour).empty());
    EXPECT_TRUE(pixelsOf(plain, modelCurveColour).empty());
    // Under every circle: the blue pixels above the legend are the same with the band as without.
    EXPECT_EQ(circlesAboveTheLegend(band), circlesAboveTheLegend(plain));
    // At +5 dB (step 130) the curve passes where the model expects C, inside its band.
    const Expectation expected = expectedCurves({800, 20000}).model[130];
    const int column = pixelOf(chart::xOfSiNi(5.0));
    int curveRow = -1, bandRows = 0;
    for (int y = 0; y < band.height(); ++y) {
        const QRgb pixel = band.pixel(column, y);
        if (pixel == toQColor(modelCurveColour).rgb())
            curveRow = y;
        bandRows += pixel == toQColor(modelBandColour).rgb();
    }
    EXPECT_NEAR(curveRow, pixelOf(chart::yOfCoefficient(expected.c)), 1);
    EXPECT_GE(bandRows, static_cast<int>(4.0 * expected.sd * 3200.0 / 15.0) - 8)
        << "the band's rows at +5 dB, less the curve's and a circle's";

    QImageReader metadata(QString::fromStdString(folder / "picture.png"));
    EXPECT_TRUE(metadata.text("Curves").startsWith("E[C] +- 2 sd"))
        << metadata.text("Curves").toStdString();
}

TEST(PictureFiles, TheAnalogueEstimatesShowBesideTheSameCirclesOnlyWhenAsked) {
    ScratchFolder folder("picture_analogue");
    const auto pictures = plainAndWith(folder, "--analogue");
    const QImage& plain = pictures.first;
    const QImage& analogue = pictures.second;
    EXPECT_TRUE(pixelsOf(plain, analogueColour).empty());
    EXPECT_EQ(circlesAboveTheLegend(analogue), circlesAboveTheLegend(plain));
    // Around +10 dB the orange curve and crosses lie about rho = A^2 / (A^2 + 1), and the circles'
    // C well below it.
    const double amplitude = std::pow(10.0, 10.0 / 20.0);
    const double rho = amplitude * amplitude / (amplitude * amplitude + 1.0);
    const auto medianRow = [&](ColorRef colour) {
        std::vector<int> rows;
        const int middle = pixelOf(chart::xOfSiNi(10.0));
        for (int x = middle - 4; x <= middle + 4; ++x)
            for (int y = 0; y < 300; ++y)
                if (analogue.pixel(x, y) == toQColor(colour).rgb())
                    rows.push_back(y);
        std::sort(rows.begin(), rows.end());
        return rows.empty() ? -1 : rows[rows.size() / 2];
    };
    EXPECT_NEAR(medianRow(analogueColour), pixelOf(chart::yOfCoefficient(rho)), 3);
    EXPECT_GT(medianRow(blue), medianRow(analogueColour) + 10);

    QImageReader metadata(QString::fromStdString(folder / "picture.png"));
    EXPECT_NE(metadata.text("Curves").indexOf("E[r]"), -1) << metadata.text("Curves").toStdString();
    const ProgramResult alone =
        runProgram(cli, {"render", "--out", folder / "x.png", "--analogue"});
    EXPECT_EQ(alone.exitStatus, 2);
    EXPECT_NE(alone.err.find("--simulate"), std::string::npos) << alone.err;
}

TEST(PictureFiles, ResidualsAreDrawnWithTheirLinesAndTheFit) {
    ScratchFolder folder("picture_residuals");
    const QImage residuals =
        renderedPng(folder, {"--residuals", "--simulate", "--seed", "2026", "--beta", "800"});
    // The lines at z = -2 and +2, in the band's colour, and the black one at 0 halfway between.
    const std::vector<int> edges = rowsOf(residuals, modelCurveColour, 500);
    ASSERT_EQ(edges.size(), 2u);
    const std::vector<int> zeroLine = rowsOf(residuals, correlatore::black, 500);
    EXPECT_NE(std::find(zeroLine.begin(), zeroLine.end(), (edges[0] + edges[1]) / 2),
              zeroLine.end());

    const ProgramResult simulate = runProgram(cli, {"simulate", "--seed", "2026", "--beta", "800"});
    QImageReader metadata(QString::fromStdString(folder / "picture.png"));
    EXPECT_EQ(metadata.text("Fit").toStdString() + "\n", simulate.err);
    EXPECT_EQ(metadata.text("Seed").toStdString(), "2026");
}

// ---- Progress on a terminal

TEST(PictureFiles, RenderShowsTheProgressBarOnATerminal) {
    ScratchFolder folder("picture_progress");
    // script(1) gives the program a terminal for its stderr, as a user's shell does.
    const ProgramResult result =
        runProgram("/usr/bin/script",
                   {"-qec", cli + " render --out " + folder / "run.png" + " --simulate --seed 3",
                    "/dev/null"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("241/241 steps"), std::string::npos) << result.out;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
