#pragma once

#include "chart_menu.h"

#include <QWidget>
#include <optional>

class QFormLayout;
class QLabel;
class QPushButton;

namespace correlatore {

class FigureView;

// "Analisi della prova": a window of its own beside Form1, with a run's seed, Beta and Nm, its fit
// in words and in numbers, and its residual chart. Its labels can be selected and copied. Asked
// to, it runs the run again with the analogue correlator beside the clipped one and shows what
// clipping costs.
class AnalysisWindow : public QWidget {
public:
    explicit AnalysisWindow(QWidget* parent = nullptr);

    void showReport(const RunReport& report, const FinishedRun& run);

private:
    void compareWithAnalogue();

    QFormLayout* m_facts;
    QLabel* m_verdict;
    QLabel* m_numbers;
    FigureView* m_residuals;
    QPushButton* m_compare;
    QLabel* m_analogueNumbers;
    FigureView* m_analogueChart;
    std::optional<FinishedRun> m_run;
};

} // namespace correlatore
