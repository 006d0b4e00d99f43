#pragma once

#include "correlator.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <thread>

namespace correlatore {

// A simulation run off the window's thread. Each finished step, and then the end of the run, is
// handed to the window's thread through its event queue, in step order. Destroying the run
// cancels it and waits for its threads, which stop within a fraction of a millisecond.
class SimulationRun {
public:
    SimulationRun(QObject* receiver, const SimulationOptions& options,
                  std::function<void(const StepResult&)> onStep, std::function<void()> onFinished);
    ~SimulationRun();

    SimulationRun(const SimulationRun&) = delete;
    SimulationRun& operator=(const SimulationRun&) = delete;

private:
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
};

} // namespace correlatore
