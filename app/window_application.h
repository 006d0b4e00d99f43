#pragma once

#include <QApplication>
#include <functional>

namespace correlatore {

// The window program's application object. Memory that runs out in the handling of an event
// (std::bad_alloc, from Qt's code or the window's own) would leave the event loop through Qt,
// which does not allow it, and abort the program; it is caught where each event is delivered and
// handed to the report, which tells the user as for any run-time error.
class WindowApplication : public QApplication {
public:
    WindowApplication(int& argc, char** argv);

    // Without a report the failure goes on as it came.
    void setOutOfMemoryReport(std::function<void()> report) { m_report = std::move(report); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void()> m_report;
};

} // namespace correlatore
