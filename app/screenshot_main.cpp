// Opens the window, presses the buttons named in CORRELATORE_SCREENSHOT_PRESS ("--theory",
// "--simulate"), waits for a simulation to end, and saves the whole screen to
// CORRELATORE_SCREENSHOT. Used by scripts/screenshot under Xvfb.

#include "form1.h"
#include "window_placement.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    correlatore::Form1 form;
    correlatore::showMaximizedOrFillScreen(form);
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    const QString press = qEnvironmentVariable("CORRELATORE_SCREENSHOT_PRESS");
    if (press.contains("--simulate")) {
        QTest::mouseClick(form.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return !form.isSimulationRunning(); }, 60000))
            return 1;
    }
    if (press.contains("--theory"))
        QTest::mouseClick(form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTest::qWait(300);
    const QString out = qEnvironmentVariable("CORRELATORE_SCREENSHOT", "screenshot.png");
    return QGuiApplication::primaryScreen()->grabWindow(0).save(out) ? 0 : 1;
}
