#include "analysis_window.h"

#include "analogue_comparison.h"
#include "figure_view.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

namespace correlatore {

namespace {

QLabel* selectableLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

AnalysisWindow::AnalysisWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_WindowPropagation); // the font and colours of the window it belongs to
    setObjectName(QStringLiteral("Analisi"));
    setWindowTitle(QStringLiteral("Analisi della prova"));
    m_facts = new QFormLayout;
    m_verdict = selectableLabel(QStringLiteral("Giudizio"), this);
    m_verdict->setWordWrap(true);
    m_numbers = selectableLabel(QStringLiteral("Numeri"), this);
    m_numbers->setWordWrap(true);
    m_residuals = new FigureView(this);
    m_residuals->setObjectName(QStringLiteral("Scarti"));
    m_compare = new QPushButton(QStringLiteral("Confronta con il correlatore analogico"), this);
    m_compare->setObjectName(QStringLiteral("Confronta"));
    m_analogueNumbers = selectableLabel(QStringLiteral("Analogico"), this);
    m_analogueNumbers->setWordWrap(true);
    m_analogueChart = new FigureView(this);
    m_analogueChart->setObjectName(QStringLiteral("Confronto"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_facts);
    layout->addWidget(m_verdict);
    layout->addWidget(m_numbers);
    layout->addWidget(m_compare, 0, Qt::AlignLeft);
    layout->addWidget(m_analogueNumbers);
    // The two charts side by side: one above the other would be taller than many screens.
    auto* charts = new QHBoxLayout;
    charts->addWidget(m_residuals, 0, Qt::AlignTop);
    charts->addWidget(m_analogueChart, 0, Qt::AlignTop);
    layout->addLayout(charts);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_analogueNumbers->hide();
    m_analogueChart->hide();
    connect(m_compare, &QPushButton::clicked, this, &AnalysisWindow::compareWithAnalogue);
}

void AnalysisWindow::compareWithAnalogue() {
    if (!m_run)
        return;
    // The run again, on this thread: as long as the run itself took, with the wait cursor.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const AnalogueComparison comparison = correlatore::compareWithAnalogue(*m_run);
        m_analogueNumbers->setText(QString::fromStdString(comparison.numbers));
        m_analogueChart->setFigure(comparison.chart);
        m_analogueChart->show();
    } catch (const std::exception& error) {
        m_analogueNumbers->setText(QStringLiteral("Confronto non riuscito: ") +
                                   QString::fromLocal8Bit(error.what()));
        m_analogueChart->hide();
    }
    QApplication::restoreOverrideCursor();
    m_analogueNumbers->show();
}

void AnalysisWindow::showReport(const RunReport& report, const FinishedRun& run) {
    m_run = run;
    m_analogueNumbers->hide(); // a comparison of another run no longer applies
    m_analogueChart->hide();
    while (m_facts->rowCount() > 0)
        m_facts->removeRow(0);
    for (const auto& [name, value] : report.facts) {
        QLabel* label = selectableLabel(QString::fromStdString(name), this);
        label->setText(QString::fromStdString(value));
        m_facts->addRow(QString::fromStdString(name) + QLatin1Char(':'), label);
    }
    m_verdict->setText(QString::fromStdString(report.verdict));
    m_numbers->setText(QString::fromStdString(report.numbers));
    m_residuals->setFigure(report.residuals);
}

} // namespace correlatore
