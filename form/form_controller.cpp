#include "form_controller.h"

#include "chart_frame.h"
#include "curves.h"
#include "run_seed.h"

#include <new>
#include <utility>

namespace correlatore {

namespace {

RunTimeError outOfMemory() {
    return RunTimeError(error_code::outOfMemory, "Memoria esaurita");
}

} // namespace

FormController::FormController(FormPlatform& platform)
    : m_platform(platform)
    , m_seedSource(seedFromClock) {
    m_surface.setChangeListener([this] { m_changed = true; });
}

// ---- Events -------------------------------------------------------------------------------------

void FormController::paint() {
    carryOut(&FormController::Form_Paint);
}

void FormController::click(Button button) {
    if (m_failed)
        return;
    if (m_run)
        m_waiting.push_back({button, m_platform.listTexts()});
    else
        carryOut(procedureOf(button));
}

void FormController::stepDone(const StepResult& step) {
    if (m_failed || !m_run || step.index < 0 || step.index >= simulationStepCount)
        return;
    const auto index = static_cast<std::size_t>(step.index);
    m_run->p[index] = step.p;
    m_run->arrived[index] = true;
    try {
        drawArrivedSteps();
    } catch (const RunTimeError& error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(outOfMemory());
    }
    if (m_run && m_run->drawn == simulationStepCount)
        finishRun();
    showChanges();
}

void FormController::runTimeError(const RunTimeError& error) {
    if (!m_failed)
        fail(error);
    showChanges();
}

void FormController::close() {
    m_waiting.clear();
    if (m_run) {
        m_run.reset();
        m_platform.endRun();
    }
}

void FormController::showDrawing(const DisplayList& ops) {
    m_surface.replaceWith(ops);
    showChanges();
}

// ---- Event procedures, in the order the classic window declares them ----------------------------

void FormController::Command3_Click() {
    m_surface.Cls();
    m_contents = {};
    reticolo();
}

// A repaint shows everything drawn since the last Cls: the display list is kept, so a covered or
// minimized chart comes back whole. The frame is drawn into the list once, at the first paint;
// every Cls is followed by reticolo, so after that the list always begins with it.
void FormController::Form_Paint() {
    m_platform.setTitleCaption(chartTitle);
    if (m_surface.isEmpty()) {
        drawChartFrame(m_surface);
        m_contents.frame = true;
    }
}

void FormController::reticolo() {
    m_platform.setTitleCaption(chartTitle);
    drawChartFrame(m_surface);
    m_contents.frame = true;
}

void FormController::Command1_Click() {
    fcalcolata();
}

void FormController::fcalcolata() {
    drawTheoreticalCurve(m_surface, m_formula);
    m_contents.theoreticalCurve = true;
}

void FormController::Command2_Click() {
    m_surface.Cls();
    m_contents = {};
    reticolo();
    const ListTexts lists = m_listsAtClick ? *m_listsAtClick : m_platform.listTexts();
    const RunParameters parameters = readRunParameters(lists.combo1, lists.combo2);
    m_Beta = parameters.beta;
    SimulationOptions options;
    options.parameters = parameters;
    options.seed = m_fixedSeed ? *m_fixedSeed : m_seedSource();
    m_platform.startRun(options);
    m_run.emplace().options = options;
    m_contents.run = ShownRun{parameters, options.seed, std::nullopt};
}

// ---- Helpers ------------------------------------------------------------------------------------

FormController::Procedure FormController::procedureOf(Button button) {
    switch (button) {
    case Button::Command1:
        return &FormController::Command1_Click;
    case Button::Command2:
        return &FormController::Command2_Click;
    case Button::Command3:
        break;
    }
    return &FormController::Command3_Click;
}

void FormController::carryOut(Procedure procedure) {
    if (m_failed)
        return;
    try {
        (this->*procedure)();
        m_surface.dropHiddenRepeats();
    } catch (const RunTimeError& error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(outOfMemory());
    }
    showChanges();
}

void FormController::drawArrivedSteps() {
    RunInProgress& run = *m_run;
    while (run.drawn < simulationStepCount && run.arrived[static_cast<std::size_t>(run.drawn)]) {
        const int step = run.drawn++;
        drawSimulatedPoint(m_surface, siNiOfStep(step), run.p[static_cast<std::size_t>(step)]);
    }
}

void FormController::finishRun() {
    m_lastRun = FinishedRun{m_run->options.parameters, m_run->options.seed, m_run->p};
    if (m_contents.run)
        m_contents.run->p = m_run->p;
    ++m_finishedRuns;
    m_run.reset();
    m_platform.endRun();
    // Clicks made during the run, in the order made; one that starts another run leaves the rest
    // waiting for that run's end.
    while (!m_run && !m_waiting.empty() && !m_failed) {
        const WaitingClick next = m_waiting.front();
        m_waiting.pop_front();
        m_listsAtClick = next.lists;
        carryOut(procedureOf(next.button));
        m_listsAtClick.reset();
    }
}

void FormController::fail(const RunTimeError& error) {
    m_failed = true;
    m_waiting.clear();
    if (m_run) {
        m_run.reset();
        m_platform.endRun();
    }
    m_platform.reportRunTimeError(error);
}

void FormController::showChanges() {
    std::string description = describeChart(m_contents);
    if (description != m_description) {
        m_description = std::move(description);
        m_platform.setChartDescription(m_description);
    }
    repaintIfChanged();
}

void FormController::repaintIfChanged() {
    if (!m_changed)
        return;
    m_changed = false;
    m_platform.requestRepaint();
}

} // namespace correlatore
