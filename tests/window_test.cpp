// The window on the offscreen platform, judged mostly by its grabbed pixels. Guards against: a
// control with the wrong name, text (blanks included), place, size or font; label text in the
// wrong colour; axis numbers away from their ticks; a caption cut off by its control, in any font
// the fallback chain picks; a broken tab order, Enter or the wheel acting where they should not;
// list items sorted, missing or pre-selected; Reset leaving curves behind; a repaint losing what
// was drawn, repeated presses growing the drawing; a window that differs from the exported
// picture; a run-time error (a thread that cannot start included) not reported; a simulation run
// that blocks the window, draws out of order, runs waiting clicks with the lists' later texts, or
// keeps the program alive after the window is closed.

#include "chart_frame.h"
#include "controls.h"
#include "control_table.h"
#include "form1.h"
#include "picture_file.h"
#include "qt_italian.h"
#include "renderer.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <system_error>

using namespace correlatore;

namespace {

constexpr int px(int twips) {
    return twips / 15;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.setRunTimeErrorReport(
            [this](const RunTimeError& error) { reported.push_back(error); });
        form.setSimulationSeed(42);
        form.showMaximized();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    template <typename W> W* control(const char* name) {
        W* widget = form.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void press(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    void waitForRunEnd(int timeoutMs = 120000) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isSimulationRunning(); }, timeoutMs));
        QCoreApplication::processEvents();
    }

    std::size_t count(DrawOp::Kind kind) const {
        std::size_t n = 0;
        for (const DrawOp& op : form.surface().ops())
            n += op.kind == kind;
        return n;
    }

    Form1 form;
    std::vector<RunTimeError> reported;
};

DisplayList frameOnly() {
    DrawingSurface surface(black);
    drawChartFrame(surface);
    return surface.ops();
}

} // namespace

namespace {

// The control table as the user meets it, written out here rather than taken from the code.
struct ExpectedControl {
    const char* name;
    const char* caption; // for Label3, see AxisNumbersStandUnderTheirTicks
    int left, top, width, height;
    double points;
    bool bold;
    bool autoSize;
};

const ExpectedControl expectedControls[] = {
    {"Label1", "SIMULATORE DEL PROCESSO DI CORRELAZIONE", 5520, 7320, 9165, 435, 18, true, true},
    {"Command1", "Crt = f(Si/Ni)", 11520, 2160, 1215, 495, 8.25, false, false},
    {"Command2", "Crsp = f(Si/Ni)", 11520, 3840, 1215, 495, 8.25, false, false},
    {"Label2", "Si/Ni (db)", 10080, 6450, 1125, 300, 12, true, true},
    {"Label3", nullptr, 0, 6480, 9510, 240, 9.75, true, true},
    {"Label4", "+1   C = f (Si/Ni)", 9240, 0, 1920, 300, 12, true, true},
    {"Label5", "0", 9360, 3000, 165, 300, 12, true, true},
    {"Combo1", "Beta", 2520, 8880, 1335, 315, 8.25, false, false},
    {"Combo2", "Nm campioni", 840, 8880, 1335, 315, 8.25, false, false},
    {"Label6", "Nm campioni            Beta", 840, 8400, 2895, 255, 9.75, true, false},
    {"Label7", "Iniziali:  Nm = 20000         Beta = 100", 360, 9600, 3495, 375, 8.25, true, false},
    {"Label8", "Funzione calcolata", 11520, 1800, 1455, 375, 8.25, false, false},
    {"Label9", "Funzione sperimentale", 11400, 3480, 1815, 375, 8.25, false, false},
    {"Command3", "Reset", 11520, 5280, 1215, 495, 8.25, false, false},
    {"Picture1", nullptr, 7320, 8280, 5175, 1335, 0, false, false},
};

QString captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QPushButton*>(widget))
        return button->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    return {};
}

} // namespace

TEST_F(WindowTest, ControlsStandWhereTheLayoutPutsThem) {
    for (const ExpectedControl& row : expectedControls) {
        SCOPED_TRACE(row.name);
        QWidget* widget = control<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), QPoint(px(row.left), px(row.top)));
        if (!row.autoSize) {
            EXPECT_EQ(widget->size(), QSize(px(row.width), px(row.height)));
        }
        if (row.caption) {
            EXPECT_EQ(captionOf(widget), QString::fromUtf8(row.caption));
        }
        if (row.points > 0) {
            EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), row.points);
            EXPECT_EQ(widget->font().bold(), row.bold);
            EXPECT_FALSE(widget->font().italic() || widget->font().underline());
        }
    }
    EXPECT_EQ(control<QComboBox>("Combo1")->currentIndex(), -1);
    EXPECT_EQ(control<QComboBox>("Combo2")->currentIndex(), -1);
}

namespace {

// ---- Reading ink off grabbed pixels

QImage grabbed(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool isInk(QColor pixel, QColor background) {
    return std::max({std::abs(pixel.red() - background.red()),
                     std::abs(pixel.green() - background.green()),
                     std::abs(pixel.blue() - background.blue())}) > 96;
}

// The columns that hold ink, as [left, right]; empty when right < left.
struct Span {
    int left = INT_MAX;
    int right = INT_MIN;
    int width() const { return right < left ? 0 : right - left + 1; }
};

// Ink within `area`, counting only the pixels where `shows` says the control is on top.
template <typename Shows>
Span inkColumns(const QImage& image, QRect area, QColor background, Shows shows) {
    Span span;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (shows(QPoint(x, y)) && isInk(image.pixelColor(x, y), background)) {
                span.left = std::min(span.left, x);
                span.right = std::max(span.right, x);
            }
    return span;
}

// How wide a caption's ink is when nothing cuts it: drawn alone, in the same font.
int uncutInkWidth(const QString& caption, const QFont& font) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(caption) + 20, metrics.height() + 4,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(10, metrics.ascent() + 2, caption);
    painter.end();
    return inkColumns(image, image.rect(), Qt::white, [](QPoint) { return true; }).width();
}

// The controls of `form` whose caption shows narrower than it is: cut by the control's edge, by
// a list's scrolling or by a control on top.
std::vector<std::string> cutCaptions(QWidget& form) {
    const QImage image = grabbed(form);
    const QColor face = toQColor(chartBackground);
    std::vector<std::string> cut;
    for (QWidget* widget : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString caption = captionOf(widget);
        if (caption.isEmpty() || widget->objectName() == "Label3")
            continue; // Label3 places its numbers apart: see AxisNumbersStandUnderTheirTicks
        QRect area = widget->geometry();
        QColor background = face;
        if (qobject_cast<QPushButton*>(widget)) {
            area = area.adjusted(3, 3, -3, -3); // inside the button's frame
            background = image.pixelColor(area.topLeft());
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            area = QRect(combo->lineEdit()->mapTo(&form, QPoint(0, 0)), combo->lineEdit()->size());
            background = image.pixelColor(area.topLeft());
        }
        const auto shows = [&](QPoint p) {
            QWidget* top = form.childAt(p);
            return top == widget || (top && widget->isAncestorOf(top));
        };
        const int shown = inkColumns(image, area, background, shows).width();
        // Two columns of slack: anti-aliased edges fall either way of the ink threshold.
        if (shown < uncutInkWidth(caption, widget->font()) - 2)
            cut.push_back(widget->objectName().toStdString());
    }
    return cut;
}

} // namespace

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

TEST_F(WindowTest, WindowSettings) {
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_EQ(form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 15);
    form.showNormal();
    QTest::qWait(10);
    EXPECT_EQ(form.size(), QSize(px(restoredClientWidth), px(restoredClientHeight)));
}

TEST_F(WindowTest, ListsHoldTheirItemsUnsortedAndEditable) {
    const struct {
        const char* name;
        QStringList items;
    } lists[] = {{"Combo1", {"100", "200", "400", "800", "1600", "3200", "6400"}},
                 {"Combo2", {"20000", "200000"}}};
    for (const auto& list : lists) {
        auto* combo = control<QComboBox>(list.name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, list.items) << list.name;
        EXPECT_TRUE(combo->isEditable());
        // Typing keeps exactly what was typed: no completion, no new item.
        combo->setFocus();
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), "2");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(combo->currentText(), "2");
        EXPECT_EQ(combo->count(), list.items.size());
    }
    EXPECT_EQ(count(DrawOp::Kind::Circle), 0u); // typing runs nothing
}

TEST_F(WindowTest, TabOrderSkipsTheLabels) {
    QApplication::setActiveWindow(&form);
    control<QPushButton>("Command1")->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return control<QPushButton>("Command1")->hasFocus(); }));
    const char* order[] = {"Command2", "Combo1", "Combo2", "Command3", "Picture1", "Command1"};
    for (const char* name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QWidget* expected = control<QWidget>(name);
        EXPECT_TRUE(focused == expected || focused->parentWidget() == expected)
            << "expected " << name << ", got " << focused->objectName().toStdString();
    }
}

TEST_F(WindowTest, AutoSizeLabelsOverlapNeitherControlsNorTheChart) {
    const QRect plot(0, 0, px(9200) + 1, px(6400) + 1);
    for (const ExpectedControl& row : expectedControls) {
        if (!row.autoSize)
            continue;
        const QRect box = control<QWidget>(row.name)->geometry();
        EXPECT_FALSE(box.intersects(plot)) << row.name;
        for (const ExpectedControl& other : expectedControls) {
            if (other.name != row.name) {
                EXPECT_FALSE(box.intersects(control<QWidget>(other.name)->geometry()))
                    << row.name << " overlaps " << other.name;
            }
        }
    }
    // The horizontal axis ends where "0" begins.
    EXPECT_EQ(control<QLabel>("Label5")->x(), px(9360));
}

TEST_F(WindowTest, ButtonsLieOverTheLegendsAboveThem) {
    // "Funzione calcolata" reaches 15 twips into Command1: the button is on top there.
    const QPoint overlap(px(11520) + 10, px(2160));
    ASSERT_TRUE(control<QWidget>("Label8")->geometry().contains(overlap));
    EXPECT_EQ(form.childAt(overlap), control<QWidget>("Command1"));
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

TEST_F(WindowTest, ResetLeavesExactlyTheFrameAndRepaintsKeepTheDrawing) {
    EXPECT_EQ(form.surface().ops(), frameOnly()); // drawn at the first paint
    EXPECT_EQ(control<QLabel>("Label1")->text(), "SIMULATORE DEL PROCESSO DI CORRELAZIONE");
    press("Command1");
    EXPECT_EQ(form.surface().ops().size(), frameOnly().size() + 1200);
    const DisplayList drawn = form.surface().ops();
    for (int i = 0; i < 3; ++i) {
        form.repaint();
        form.hide();
        form.showMaximized();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(form.surface().ops(), drawn);
    press("Command3");
    EXPECT_EQ(form.surface().ops(), frameOnly());
    press("Command3");
    EXPECT_EQ(form.surface().ops(), frameOnly());
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

namespace {
volatile double zero = 0.0;
double failsFromZero(double s) {
    return s >= 0 ? zero / zero : theoreticalCorrelation(s);
}
} // namespace

TEST_F(WindowTest, RunTimeErrorIsReportedAndEndsTheProcedure) {
    form.setCorrelationFormula(failsFromZero);
    press("Command1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reported.empty(); }));
    EXPECT_EQ(reported.front().code(), error_code::floatingPointInvalid);
    EXPECT_EQ(form.surface().ops().size(), frameOnly().size() + 600);
    press("Command3"); // the program is ending: nothing more runs
    EXPECT_EQ(form.surface().ops().size(), frameOnly().size() + 600);
}

TEST_F(WindowTest, SimulationDrawsTwoHundredFortyOneCirclesInOrder) {
    control<QComboBox>("Combo1")->setEditText("800");
    press("Command2");
    waitForRunEnd();
    EXPECT_EQ(form.Beta(), 800);
    const DisplayList& ops = form.surface().ops();
    ASSERT_EQ(ops.size(), frameOnly().size() + 241);
    for (int i = 0; i < 241; ++i) {
        const DrawOp& circle = ops[frameOnly().size() + static_cast<std::size_t>(i)];
        ASSERT_EQ(circle.kind, DrawOp::Kind::Circle);
        EXPECT_EQ(circle.x1, static_cast<float>(9200.0 * (0.5 * i) / 120.0)) << i;
        EXPECT_EQ(circle.colour, blue);
    }
    EXPECT_TRUE(reported.empty());
}

namespace {

int threadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

TEST_F(WindowTest, ClosingDuringARunEndsItPromptlyAndLeavesNoThread) {
    const int before = threadCount();
    control<QComboBox>("Combo2")->setEditText("200000");
    press("Command2");
    ASSERT_TRUE(form.isSimulationRunning());
    ASSERT_GT(threadCount(), before);
    QElapsedTimer timer;
    timer.start();
    form.close();
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(form.isSimulationRunning());
    EXPECT_EQ(threadCount(), before);
}

TEST_F(WindowTest, TenClicksDuringARunRunOnceEachInOrder) {
    control<QComboBox>("Combo2")->setEditText("200000");
    press("Command2");
    ASSERT_TRUE(form.isSimulationRunning());
    // Reset, theory, another run (which clears), then two theories over its circles ...
    for (const char* button : {"Command3", "Command1", "Command2", "Command1", "Command1",
                               "Command3", "Command1", "Command2", "Command1", "Command1"})
        press(button);
    form.repaint(); // the window still paints during the run
    // ... so the end shows the last run's circles with the theoretical curve over them, drawn
    // twice over the same points, which the drawing keeps once.
    const std::size_t expected = frameOnly().size() + 241 + 1200;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !form.isSimulationRunning() && form.surface().ops().size() >= expected; },
        120000));
    QTest::qWait(50); // nothing more may follow
    const DisplayList& ops = form.surface().ops();
    ASSERT_EQ(ops.size(), expected);
    EXPECT_EQ(ops[frameOnly().size()].kind, DrawOp::Kind::Circle);
    EXPECT_EQ(ops[frameOnly().size() + 240].kind, DrawOp::Kind::Circle);
    EXPECT_EQ(ops[frameOnly().size() + 241].colour, red);
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

TEST_F(WindowTest, AClickDuringARunUsesTheListsAsTheyWereWhenClicked) {
    auto* beta = control<QComboBox>("Combo1");
    auto* nm = control<QComboBox>("Combo2");
    nm->setEditText("200000");
    press("Command2");
    ASSERT_TRUE(form.isSimulationRunning());
    beta->setEditText("400");
    nm->setEditText("20000");
    press("Command2"); // waits for the run, with 400 and 20000
    beta->setEditText("6400");
    nm->setEditText("200000");
    waitForRunEnd();
    EXPECT_EQ(form.Beta(), 400);
    EXPECT_EQ(beta->currentText(), "6400"); // what was typed afterwards stays in the list
}

TEST_F(WindowTest, EnterAndKeypadEnterClickTheFocusedButton) {
    QApplication::setActiveWindow(&form);
    const struct {
        const char* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::size_t drawingLength;
    } presses[] = {
        {"Command1", Qt::Key_Return, Qt::NoModifier, frameOnly().size() + 1200},
        {"Command3", Qt::Key_Enter, Qt::KeypadModifier, frameOnly().size()},
        {"Command1", Qt::Key_Space, Qt::NoModifier, frameOnly().size() + 1200},
        {"Command3", Qt::Key_Return, Qt::NoModifier, frameOnly().size()},
    };
    for (const auto& keyPress : presses) {
        auto* button = control<QPushButton>(keyPress.button);
        button->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }));
        QTest::keyClick(QApplication::focusWidget(), keyPress.key, keyPress.modifiers);
        EXPECT_EQ(form.surface().ops().size(), keyPress.drawingLength)
            << keyPress.button << " " << keyPress.key;
    }
}

TEST_F(WindowTest, WheelChangesAListOnlyWhileItHasTheFocus) {
    QApplication::setActiveWindow(&form);
    auto* beta = control<QComboBox>("Combo1");
    const auto threeNotchesDown = [&] {
        for (int notch = 0; notch < 3; ++notch) {
            const QPointF centre = beta->rect().center();
            QWheelEvent wheel(centre, beta->mapToGlobal(centre), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(beta, &wheel);
        }
    };
    control<QPushButton>("Command1")->setFocus();
    threeNotchesDown();
    EXPECT_EQ(beta->currentText(), "Beta") << "unfocused";
    beta->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return beta->hasFocus(); }));
    threeNotchesDown();
    EXPECT_EQ(beta->currentText(), "400") << "focused";
}

TEST_F(WindowTest, ARunWhoseThreadCannotStartIsARunTimeError) {
    form.setThreadStarter([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    press("Command2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reported.empty(); }));
    EXPECT_EQ(reported.front().code(), error_code::outOfMemory);
    EXPECT_FALSE(form.isSimulationRunning());
    EXPECT_EQ(form.surface().ops(), frameOnly()); // cleared and framed before the failure
}

TEST_F(WindowTest, ListsAndFormulaHaveNamesForAssistiveTechnology) {
    const struct {
        const char* control;
        QString name;
    } rows[] = {{"Combo1", "Beta"},
                {"Combo2", "Nm campioni"},
                {"Picture1", QStringLiteral("Crt = (2 / π) ArcSen [1 / (1 + (Ni/Si)²)]")}};
    for (const auto& row : rows) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(control<QWidget>(row.control));
        ASSERT_NE(accessible, nullptr) << row.control;
        EXPECT_EQ(accessible->text(QAccessible::Name), row.name) << row.control;
    }
}

TEST_F(WindowTest, TheListsEditMenuSpeaksItalian) {
    const std::unique_ptr<QMenu> menu(
        control<QComboBox>("Combo1")->lineEdit()->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text().remove('&');
    EXPECT_TRUE(texts.join('|').contains("Annulla")) << texts.join('|').toStdString();
}

// The fallback chain, font by font: every font of it that the machine has keeps every caption
// whole; and the check does see a cut caption, in a wider font outside the chain.
TEST(WindowFonts, NoCaptionIsCutInAnyFontOfTheChain) {
    const auto captionsCutWith = [](const QString& family) {
        Form1 form(nullptr, family);
        form.showMaximized();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_EQ(QFontInfo(form.findChild<QWidget*>("Label9")->font()).family(), family);
        form.findChild<QWidget*>("Picture1")->setFocus();
        QCoreApplication::processEvents();
        return cutCaptions(form);
    };
    int tried = 0;
    for (const QString& family : uiFontFallbackChain()) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        ++tried;
        EXPECT_EQ(captionsCutWith(family), std::vector<std::string>{}) << family.toStdString();
    }
    EXPECT_GT(tried, 0) << "no font of the chain on this machine: run scripts/install-deps";
    if (QFontDatabase::hasFamily("DejaVu Sans")) {
        const std::vector<std::string> cut = captionsCutWith("DejaVu Sans");
        EXPECT_NE(std::find(cut.begin(), cut.end(), "Combo2"), cut.end());
    }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true; // its quarantine holds on to freed memory
#else
constexpr bool underAddressSanitizer = false;
#endif

TEST_F(WindowTest, TwentyLongRunsKeepMemoryFlat) {
    if (underAddressSanitizer)
        GTEST_SKIP() << "resident memory means nothing under AddressSanitizer";
    control<QComboBox>("Combo2")->setEditText("200000");
    long afterSecond = 0;
    for (int run = 1; run <= 20; ++run) {
        press("Command2");
        waitForRunEnd();
        ASSERT_EQ(count(DrawOp::Kind::Circle), 241u);
        if (run == 2)
            afterSecond = residentKilobytes();
    }
    EXPECT_LT(residentKilobytes() - afterSecond, 2048) << "kB grown over 18 runs";
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installQtItalian(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
