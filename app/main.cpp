#include "application_start.h"
#include "chart_context_menu.h"
#include "display_check.h"
#include "form1.h"
#include "qt_italian.h"
#include "window_application.h"
#include "window_arguments.h"
#include "window_placement.h"

#include <cstdio>
#include <new>

namespace {

int runWindow(int argc, char** argv) {
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
    application->setOutOfMemoryReport([&form] { form.reportOutOfMemory(); });
    const correlatore::ChartContextMenu menu(form);
    if (arguments.seed)
        form.setSimulationSeed(*arguments.seed);
    correlatore::showMaximizedOrFillScreen(form);
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    // Memory can run out before the window shows, where no event handling reports it: one line and
    // status 1, as for the other start-up failures, rather than an abort.
    try {
        return runWindow(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("correlatore: out of memory\n", stderr);
        return 1;
    }
}
