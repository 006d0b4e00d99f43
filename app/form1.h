#pragma once

#include "chart_area.h"
#include "controls.h"
#include "form_controller.h"
#include "run_time_error.h"
#include "simulation_run.h"
#include "theory.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

namespace correlatore {

// The program's only window: the chart's drawing surface with the fifteen controls on it. The
// form's logic is the FormController's; the window gives it widgets, a thread for each run, a
// message box for a run-time error, and the chart's words for assistive technology.
class Form1 : public QWidget, private FormPlatform {
public:
    // `fontFamily`: the family of every control's font; tests try each font the chain may pick.
    explicit Form1(QWidget* parent = nullptr, const QString& fontFamily = uiFontFamily());
    ~Form1() override;

    using RunTimeErrorReport = std::function<void(const RunTimeError&)>;
    // By default a run-time error is shown in a message box and the program ends.
    void setRunTimeErrorReport(RunTimeErrorReport report) { m_report = std::move(report); }

    // For callers that need a fixed random stream (tests, --seed): the seed of every later run.
    void setSimulationSeed(std::uint64_t seed) { m_form.setFixedSeed(seed); }
    // For tests of the floating-point error path: the formula of the theoretical curve.
    void setCorrelationFormula(CorrelationFormula formula) {
        m_form.setCorrelationFormula(formula);
    }
    // For tests of a machine out of threads: how a simulation run starts its thread.
    void setThreadStarter(ThreadStarter start) { m_startThread = std::move(start); }

    // For pictures of the window (correlatore-cli render): shows a drawing made elsewhere by the
    // same procedures, as if the presses that made it had happened here.
    void showDrawing(const DisplayList& ops) { m_form.showDrawing(ops); }

    const FormController& form() const { return m_form; }
    const DrawingSurface& surface() const { return m_form.surface(); }
    std::int16_t Beta() const { return m_form.Beta(); }
    bool isSimulationRunning() const { return m_form.isRunning(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What the form asks of the window.
    ListTexts listTexts() const override;
    void setTitleCaption(const std::string& caption) override;
    void startRun(const SimulationOptions& run) override;
    void endRun() override;
    void reportRunTimeError(const RunTimeError& error) override;
    void requestRepaint() override;
    void setChartDescription(const std::string& description) override;

    Controls m_controls{};
    ChartArea* m_chart = nullptr;
    RunTimeErrorReport m_report;
    ThreadStarter m_startThread = startThread;
    std::unique_ptr<SimulationRun> m_run;
    FormController m_form{*this};
};

} // namespace correlatore
