#pragma once

#include "controls.h"
#include "display_list.h"
#include "run_time_error.h"
#include "simulation_run.h"
#include "theory.h"

#include <QWidget>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace correlatore {

// The program's only window: the chart's drawing surface with the fifteen controls on it.
class Form1 : public QWidget {
public:
    // `fontFamily`: the family of every control's font; tests try each font the chain may pick.
    explicit Form1(QWidget* parent = nullptr, const QString& fontFamily = uiFontFamily());
    ~Form1() override;

    using RunTimeErrorReport = std::function<void(const RunTimeError&)>;
    // By default a run-time error is shown in a message box and the program ends.
    void setRunTimeErrorReport(RunTimeErrorReport report) { m_report = std::move(report); }

    // For callers that need a fixed random stream (tests): the seed of the next simulation runs.
    void setSimulationSeed(std::uint64_t seed) { m_fixedSeed = seed; }
    // For tests of the floating-point error path: the formula of the theoretical curve.
    void setCorrelationFormula(CorrelationFormula formula) { m_formula = formula; }
    // For tests of a machine out of threads: how a simulation run starts its thread.
    void setThreadStarter(ThreadStarter start) { m_startThread = std::move(start); }

    // For pictures of the window (correlatore-cli render): shows a drawing made elsewhere by the
    // same procedures, as if the presses that made it had happened here.
    void showDrawing(const DisplayList& ops);

    const DrawingSurface& surface() const { return m_surface; }
    std::int16_t Beta() const { return m_Beta; }
    bool isSimulationRunning() const { return m_run != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    using Procedure = void (Form1::*)();
    struct ListTexts {
        QString combo1, combo2;
    };
    // A click made during a run waits for its end, with the lists' texts of its own moment.
    struct PendingClick {
        Procedure procedure;
        ListTexts lists;
    };

    // The event procedures and the window's private procedures.
    void Command3_Click();
    void Form_Paint();
    void reticolo();
    void Command1_Click();
    void fcalcolata();
    void Command2_Click();

    void setTitleCaption();
    QString comboText(const QComboBox* combo) const;

    // Runs an event procedure; a run-time error leaving it is reported, and ends the program.
    void runEventProcedure(Procedure procedure);
    // A click during a simulation run is carried out after the run, in the order made.
    void click(Procedure procedure);
    void onSimulatedStep(const StepResult& step);
    void onSimulationFinished();
    void onSimulationFailed(const RunTimeError& error);
    void fail(const RunTimeError& error);

    Controls m_controls{};
    DrawingSurface m_surface;
    std::int16_t m_Beta = 100;
    RunTimeErrorReport m_report;
    bool m_failed = false;

    std::unique_ptr<SimulationRun> m_run;
    std::optional<std::uint64_t> m_fixedSeed;
    CorrelationFormula m_formula = theoreticalCorrelation;
    ThreadStarter m_startThread = startThread;
    std::deque<PendingClick> m_pendingClicks;
    std::optional<ListTexts> m_listsAtClick; // while a waiting click runs
};

} // namespace correlatore
