// The event procedures and simulation runs through the window's own widgets and thread: Reset
// leaving curves behind, a repaint losing what was drawn; a run-time error (a thread that cannot
// start, memory that runs out in Qt's handling of an event included) not reported; a run that
// blocks the window, draws out of order, runs waiting clicks with the lists' later texts, or keeps
// a thread after the window is closed; a chart whose words for a screen reader lag what it shows,
// or that takes the window's clicks.

#include "window_fixture.h"

#include <QAccessible>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <filesystem>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>
#include <system_error>

using namespace correlatore;

namespace {

volatile double zero = 0.0;
double failsFromZero(double s) {
    return s >= 0 ? zero / zero : theoreticalCorrelation(s);
}
int threadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

} // namespace

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
TEST_F(WindowTest, TheChartTellsAScreenReaderWhatItShows) {
    QWidget* chart = control<QWidget>("chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(form.childAt(px(4600), px(3200)), nullptr) << "clicks go through to the window";
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(chart);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Chart);
    const auto says = [&](std::initializer_list<std::string_view> parts, std::string_view end) {
        const std::string said = accessible->text(QAccessible::Description).toStdString();
        bool all = said.starts_with("Assi: Si/Ni da -60 a +60 dB") && said.ends_with(end);
        for (const std::string_view part : parts)
            all = all && said.find(part) != std::string::npos;
        return testing::AssertionResult(all) << said;
    };
    EXPECT_TRUE(says({}, "Nessuna curva."));
    control<QComboBox>("Combo1")->setEditText("800");
    press("Command2");
    waitForRunEnd();
    press("Command1");
    EXPECT_TRUE(says({"Funzione calcolata: 1200 punti rossi",
                      "Funzione sperimentale: Beta 800, Nm 20000, seme 42; 241 cerchi blu"},
                     "a +60 dB."));
    press("Command3");
    EXPECT_TRUE(says({}, "Nessuna curva."));
}
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
TEST_F(WindowTest, MemoryRunningOutInTheHandlingOfAnEventIsARunTimeError) {
    // Stands for any handler whose allocation fails, Qt's own included.
    class FailingAllocation : public QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::User)
                throw std::bad_alloc();
            return false;
        }
    } failing;
    form.installEventFilter(&failing);
    QCoreApplication::postEvent(&form, new QEvent(QEvent::User));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reported.empty(); }));
    EXPECT_EQ(reported.front().code(), error_code::outOfMemory);
    EXPECT_STREQ(reported.front().what(), "Memoria esaurita");
}
