#include "application_start.h"
#include "display_check.h"
#include "form1.h"
#include "qt_italian.h"
#include "window_arguments.h"
#include "window_placement.h"

#include <cstdio>

int main(int argc, char** argv) {
    const auto arguments = correlatore::readWindowArguments(argc, argv);
    if (arguments.exitStatus) {
        std::fputs(arguments.message.c_str(), *arguments.exitStatus == 0 ? stdout : stderr);
        return *arguments.exitStatus;
    }
    if (const std::string problem =
            correlatore::missingDisplayMessage(arguments.platform, arguments.display);
        !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    const auto application = correlatore::startApplication(argc, argv);
    // Names the installed desktop entry, so that a Wayland desktop shows its icon for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("correlatore"));
    correlatore::installQtItalian(*application);
    correlatore::Form1 form;
    if (arguments.seed)
        form.setSimulationSeed(*arguments.seed);
    correlatore::showMaximizedOrFillScreen(form);
    return QApplication::exec();
}
