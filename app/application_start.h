#pragma once

#include <QApplication>
#include <memory>

namespace correlatore {

// The application object, on the platform that Qt chooses. Where none can start (a stale
// WAYLAND_DISPLAY, a platform asked for whose plugin is not installed, a display that does not
// answer) Qt would print several lines and abort; instead the program says why in one line and
// exits with status 1. Qt's other notes from its start are passed on as usual.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv);

} // namespace correlatore
