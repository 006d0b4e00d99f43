// The window on the offscreen platform. Guards against: a control with the wrong name, text (blanks
// included), place, size, font or colour; a broken tab order; list items sorted, missing or
// pre-selected; auto-size labels overlapping controls or the chart; Reset leaving curves behind; a
// repaint losing what was drawn or growing the display list; a run-time error not reported; a
// simulation run that blocks the window, draws out of order, runs clicks made during it at once
// instead of afterwards, or keeps the program alive after the window is closed.

#include "axis_numbers_label.h"
#include "chart_frame.h"
#include "controls.h"
#include "controls_table.h"
#include "form1.h"
#include "picture_file.h"
#include "renderer.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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

TEST_F(WindowTest, ControlsAsTheTableLaysThemOut) {
    for (const ControlSpec& row : controlTable()) {
        SCOPED_TRACE(row.name);
        QWidget* widget = control<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), QPoint(px(row.left), px(row.top)));
        if (!row.autoSize) {
            EXPECT_EQ(widget->size(), QSize(px(row.width), px(row.height)));
        }
        const QString caption = QString::fromStdString(row.caption);
        switch (row.kind) {
        case ControlKind::Label:
            EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), caption);
            EXPECT_TRUE(widget->autoFillBackground());
            break;
        case ControlKind::PushButton:
            EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), caption);
            break;
        case ControlKind::ComboBox:
            EXPECT_EQ(qobject_cast<QComboBox*>(widget)->currentText(), caption);
            EXPECT_EQ(qobject_cast<QComboBox*>(widget)->currentIndex(), -1);
            break;
        case ControlKind::PictureBox:
            EXPECT_FALSE(qobject_cast<QLabel*>(widget)->pixmap().isNull());
            break;
        }
        if (row.kind != ControlKind::PictureBox) {
            EXPECT_EQ(widget->font().family(), uiFontFamily());
            EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), row.font.pointSize);
            EXPECT_EQ(widget->font().bold(), row.font.bold);
            EXPECT_FALSE(widget->font().italic() || widget->font().underline());
        }
        if (row.textColour) {
            EXPECT_EQ(widget->palette().color(QPalette::WindowText), toQColor(*row.textColour));
        }
    }
    EXPECT_EQ(uiFontFamily(), QFontDatabase::families().contains("MS Sans Serif")
                                  ? "MS Sans Serif"
                                  : "Liberation Sans");
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
    for (const ControlSpec& row : controlTable()) {
        if (!row.autoSize)
            continue;
        const QRect box = control<QWidget>(row.name)->geometry();
        EXPECT_FALSE(box.intersects(plot)) << row.name;
        for (const ControlSpec& other : controlTable()) {
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
    auto* label = static_cast<AxisNumbersLabel*>(control<QLabel>("Label3"));
    EXPECT_EQ(label->x() + label->minusSixtyBox().left(), 0);
    EXPECT_NEAR(label->x() + label->zeroBox().center().x(), 4600.0 / 15, 2.0);
    const int plusSixtyEnd = label->x() + label->plusSixtyBox().right();
    EXPECT_GT(plusSixtyEnd, px(9200));
    EXPECT_LE(plusSixtyEnd, px(9510));
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
    const QColor foreground = form.palette().color(QPalette::ButtonText);
    EXPECT_EQ(at(30, 2), foreground);                                     // a grid dot at (460, 40)
    EXPECT_EQ(at(4, 213), Qt::black);                                     // the horizontal axis
    EXPECT_EQ(at(624, 213 - 10), form.palette().color(QPalette::Button)); // nothing above it
    EXPECT_EQ(at(306, 400), Qt::black);                                   // the vertical axis
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
    // ... so the end shows the last run's circles with two theoretical curves over them.
    const std::size_t expected = frameOnly().size() + 241 + 2 * 1200;
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

TEST_F(WindowTest, ExportedPictureMatchesTheWindow) {
    control<QComboBox>("Combo2")->setEditText("20000");
    press("Command2");
    waitForRunEnd();
    press("Command1");
    const QImage window = form.grab(QRect(0, 0, 625, 427)).toImage();
    const QImage exported =
        QImage::fromData(*chartPicture(form.surface().ops(), PictureFormat::Png, 1), "PNG");
    ASSERT_EQ(window.size(), exported.size());
    const QColor windowBackground = form.palette().color(QPalette::Button);
    const QColor fileBackground = exported.pixelColor(624, 0);
    int drawn = 0;
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) {
            if (form.childAt(x, y)) // the labels "+1 ..." and "0" lie over the chart's corner
                continue;
            const bool inWindow = window.pixelColor(x, y) != windowBackground;
            const bool inFile = exported.pixelColor(x, y) != fileBackground;
            ASSERT_EQ(inWindow, inFile) << x << "," << y;
            if (inFile) {
                ASSERT_EQ(window.pixelColor(x, y), exported.pixelColor(x, y)) << x << "," << y;
                ++drawn;
            }
        }
    EXPECT_GT(drawn, frameDotCount);
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
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
