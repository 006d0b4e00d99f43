// What the user waits for: the time from a click on "Crsp = f(Si/Ni)" to the 241st circle on
// screen, that is to the end of the first repaint whose picture holds all 241, at Nm 200000 with
// a fixed seed. Runs the real window on Qt's offscreen platform; a benchmark, not a test, since
// the figure depends on the machine and its load.

#include "form1.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace correlatore;

namespace {

int circleCount(const Form1& window) {
    const DisplayList& ops = window.surface().ops();
    return static_cast<int>(std::count_if(
        ops.begin(), ops.end(), [](const DrawOp& op) { return op.kind == DrawOp::Kind::Circle; }));
}

// Ends `loop` once the first repaint that holds every circle is done.
class PaintWatcher : public QObject {
public:
    PaintWatcher(Form1& window, QEventLoop& loop)
        : m_window(window)
        , m_loop(loop) {
        m_window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The filter sees the paint event before the window paints; the queued quit runs after.
        if (watched == &m_window && event->type() == QEvent::Paint && circleCount(m_window) == 241)
            QMetaObject::invokeMethod(&m_loop, &QEventLoop::quit, Qt::QueuedConnection);
        return false;
    }

private:
    Form1& m_window;
    QEventLoop& m_loop;
};

void BM_ClickToLastCircle(benchmark::State& state) {
    Form1 window;
    window.setSimulationSeed(1);
    window.findChild<QComboBox*>(QStringLiteral("Combo2"))
        ->setCurrentText(QString::number(state.range(0)));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("the window was never shown");
        return;
    }
    auto* const button = window.findChild<QPushButton*>(QStringLiteral("Command2"));
    QEventLoop loop;
    PaintWatcher watcher(window, loop);
    for (auto _ : state) {
        QTest::mouseClick(button, Qt::LeftButton);
        loop.exec();
        state.PauseTiming();
        while (window.isSimulationRunning()) // so that the next click starts a run at once
            QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_ClickToLastCircle)
    ->Arg(200000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
