#pragma once

#include "correlator.h"
#include "run_time_error.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

namespace correlatore {

// Starts a thread that runs `work`; throws std::system_error when the machine has none to spare.
std::thread startThread(std::function<void()> work);

// A simulation run off the window's thread. Each finished step is handed to the window's thread
// through its event queue, in step order; so is a failure inside the run, as a run-time error,
// after which nothing more comes. Destroying the run cancels it and waits for its threads, which
// stop within a fraction of a millisecond. A run whose thread cannot be started throws a run-time
// error from the constructor.
class SimulationRun {
public:
    struct Receiver {
        std::function<void(const StepResult&)> onStep;
        std::function<void(const RunTimeError&)> onFailed;
    };

    SimulationRun(QObject* receiver, const SimulationOptions& options, Receiver callbacks,
                  const ThreadStarter& start = startThread);
    ~SimulationRun();

    SimulationRun(const SimulationRun&) = delete;
    SimulationRun& operator=(const SimulationRun&) = delete;

private:
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
};

} // namespace correlatore
