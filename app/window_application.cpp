#include "window_application.h"

#include <new>

namespace correlatore {

WindowApplication::WindowApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool WindowApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        if (!m_report)
            throw;
        m_report();
        return false;
    }
}

} // namespace correlatore
