#pragma once

#include "chart_menu.h"

#include <QWidget>

class QFormLayout;
class QLabel;

namespace correlatore {

class FigureView;

// "Analisi della prova": a window of its own beside Form1, with a run's seed, Beta and Nm, its fit
// in words and in numbers, and its residual chart. Its labels can be selected and copied.
class AnalysisWindow : public QWidget {
public:
    explicit AnalysisWindow(QWidget* parent = nullptr);

    void showReport(const RunReport& report);

private:
    QFormLayout* m_facts;
    QLabel* m_verdict;
    QLabel* m_numbers;
    FigureView* m_residuals;
};

} // namespace correlatore
