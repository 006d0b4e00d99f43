#include "simulation_run.h"

#include <QMetaObject>

namespace correlatore {

SimulationRun::SimulationRun(QObject* receiver, const SimulationOptions& options,
                             std::function<void(const StepResult&)> onStep,
                             std::function<void()> onFinished) {
    m_thread = std::thread(
        [this, receiver, options, onStep = std::move(onStep), onFinished = std::move(onFinished)] {
            const auto deliver = [&](const StepResult& step) {
                QMetaObject::invokeMethod(
                    receiver, [onStep, step] { onStep(step); }, Qt::QueuedConnection);
            };
            if (simulate(options, deliver, &m_cancel))
                QMetaObject::invokeMethod(receiver, onFinished, Qt::QueuedConnection);
        });
}

SimulationRun::~SimulationRun() {
    m_cancel = true;
    m_thread.join();
}

} // namespace correlatore
