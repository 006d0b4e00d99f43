#include "analysis_window.h"

#include "figure_view.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

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
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_facts);
    layout->addWidget(m_verdict);
    layout->addWidget(m_numbers);
    layout->addWidget(m_residuals);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AnalysisWindow::showReport(const RunReport& report) {
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
