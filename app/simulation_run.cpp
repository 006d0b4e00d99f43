#include "simulation_run.h"

#include <QMetaObject>
#include <new>
#include <system_error>

namespace correlatore {

namespace {

// What the user is told when the machine runs out of threads or memory for a run.
RunTimeError outOfResources() {
    return RunTimeError(error_code::outOfMemory, "Memoria esaurita");
}

} // namespace

std::thread startThread(std::function<void()> work) {
    return std::thread(std::move(work));
}

SimulationRun::SimulationRun(QObject* receiver, const SimulationOptions& options,
                             Receiver callbacks, const ThreadStarter& start) {
    auto work = [this, receiver, options, callbacks = std::move(callbacks)] {
        const auto post = [receiver](auto call) {
            QMetaObject::invokeMethod(receiver, std::move(call), Qt::QueuedConnection);
        };
        const auto deliver = [&](const StepResult& step) {
            post([onStep = callbacks.onStep, step] { onStep(step); });
        };
        // An exception must not leave the thread: that would end the program.
        try {
            simulate(options, deliver, &m_cancel);
        } catch (const RunTimeError& error) {
            post([onFailed = callbacks.onFailed, error] { onFailed(error); });
        } catch (const std::exception&) { // no memory or no threads left for the run
            post([onFailed = callbacks.onFailed] { onFailed(outOfResources()); });
        }
    };
    try {
        m_thread = start(std::move(work));
    } catch (const std::system_error&) {
        throw outOfResources();
    }
}

SimulationRun::~SimulationRun() {
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace correlatore
