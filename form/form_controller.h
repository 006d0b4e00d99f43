#pragma once

#include "chart_description.h"
#include "correlator.h"
#include "display_list.h"
#include "list_texts.h"
#include "run_parameters.h"
#include "run_time_error.h"
#include "theory.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace correlatore {

// The buttons whose clicks run an event procedure.
enum class Button { Command1, Command2, Command3 };

// A simulation run that drew all its circles: what made it and what it found.
struct FinishedRun {
    RunParameters parameters;
    std::uint64_t seed;
    std::array<double, simulationStepCount> p; // the coincidence estimate of each step
};

// A simulation run whose circles are still being drawn: the steps in, and how many are drawn.
struct RunInProgress {
    SimulationOptions options;
    std::array<double, simulationStepCount> p{};
    std::array<bool, simulationStepCount> arrived{};
    int drawn = 0; // circles drawn: steps 0 .. drawn - 1
};

// What the form needs of the window system it runs on, the desktop's widgets or the page's
// elements. Every call comes from the form's event thread.
class FormPlatform {
public:
    virtual ~FormPlatform() = default;

    virtual ListTexts listTexts() const = 0;
    // Label1's caption. Setting the caption it already shows must not cause a repaint.
    virtual void setTitleCaption(const std::string& caption) = 0;
    // Starts `run` away from the event thread. Its steps come back through
    // FormController::stepDone on the event thread, in any order, and a failure through
    // runTimeError. Throws RunTimeError when the run cannot be started.
    virtual void startRun(const SimulationOptions& run) = 0;
    // The run has drawn its last circle, or must stop: frees what it used, stopping it first.
    virtual void endRun() = 0;
    // Tells the user, outside any paint; the program is then to end.
    virtual void reportRunTimeError(const RunTimeError& error) = 0;
    // The drawing changed: paint the window again, when the event loop next can.
    virtual void requestRepaint() = 0;
    // What the chart shows changed: its words for assistive technology are now `description`.
    virtual void setChartDescription(const std::string& description) = 0;
};

// Form1's logic, the same on the desktop and in the page: the event procedures over the drawing
// surface, Beta, the run in progress, the clicks made during a run waiting with the lists' texts
// of their moment, and the state after a run-time error, which takes no more clicks.
class FormController {
public:
    explicit FormController(FormPlatform& platform);

    // ---- Events, as the platform delivers them
    // A repaint: runs Form_Paint. The platform then draws surface().
    void paint();
    // A click made during a run is carried out after it, in the order made.
    void click(Button button);
    // One step of the run in progress, in any order; the circles are drawn in step order.
    void stepDone(const StepResult& step);
    // A run-time error raised outside the event procedures: by the run, or by the platform.
    void runTimeError(const RunTimeError& error);
    // The window closes: waiting clicks are dropped and the run is stopped.
    void close();

    // Shows a drawing made elsewhere by the same procedures, as if the presses that made it had
    // happened here (pictures of the window). The chart's description stays as it was: a picture
    // file has no reader, and the drawing alone does not tell the run that made it.
    void showDrawing(const DisplayList& ops);

    // ---- Settings
    // The colour of dots drawn without one: the window's foreground colour.
    void setForeColor(ColorRef colour) { m_surface.setForeColor(colour); }
    // Every run uses this seed instead of a fresh one (the window's --seed, the page's ?seed=).
    void setFixedSeed(std::uint64_t seed) { m_fixedSeed = seed; }
    // Where a fresh seed comes from; the clock unless set.
    void setSeedSource(std::function<std::uint64_t()> source) { m_seedSource = std::move(source); }
    // For tests of the floating-point error path: the formula of the theoretical curve.
    void setCorrelationFormula(CorrelationFormula formula) { m_formula = formula; }

    // ---- State
    const DrawingSurface& surface() const { return m_surface; }
    std::int16_t Beta() const { return m_Beta; }
    bool isRunning() const { return m_run.has_value(); }
    std::size_t waitingClicks() const { return m_waiting.size(); }
    bool hasFailed() const { return m_failed; }
    const std::optional<FinishedRun>& lastRun() const { return m_lastRun; }
    int finishedRuns() const { return m_finishedRuns; }
    const ChartContents& chartContents() const { return m_contents; }
    // The chart in words, as last told to the platform.
    const std::string& chartDescription() const { return m_description; }

private:
    using Procedure = void (FormController::*)();

    // A click made during a run, with the lists' texts of its own moment.
    struct WaitingClick {
        Button button;
        ListTexts lists;
    };

    // The event procedures and the window's private procedures, in the classic order.
    void Command3_Click();
    void Form_Paint();
    void reticolo();
    void Command1_Click();
    void fcalcolata();
    void Command2_Click();

    static Procedure procedureOf(Button button);
    // Runs an event procedure; a run-time error leaving it fails the form.
    void carryOut(Procedure procedure);
    void drawArrivedSteps();
    void finishRun();
    void fail(const RunTimeError& error);
    // After each event: the repaint and the chart's new description, where they changed.
    void showChanges();
    void repaintIfChanged();

    FormPlatform& m_platform;
    DrawingSurface m_surface;
    bool m_changed = false; // since the last repaint request
    std::int16_t m_Beta = 100;
    bool m_failed = false;
    std::optional<RunInProgress> m_run;
    std::deque<WaitingClick> m_waiting;
    std::optional<ListTexts> m_listsAtClick; // while a waiting click is carried out
    std::optional<FinishedRun> m_lastRun;
    int m_finishedRuns = 0;
    ChartContents m_contents;
    std::string m_description = describeChart(m_contents);
    std::optional<std::uint64_t> m_fixedSeed;
    std::function<std::uint64_t()> m_seedSource;
    CorrelationFormula m_formula = theoreticalCorrelation;
};

} // namespace correlatore
