#include "chart_menu.h"

#include "residual_chart.h"
#include "run_table_rows.h"

namespace correlatore {

namespace {

// The 5 % test that the words say; the numbers say the rest.
constexpr double rejectedBelow = 0.05;

std::string agreement(const char* reference, const FitSummary& fit) {
    return fit.pValue >= rejectedBelow
               ? std::string("Rispetto ") + reference +
                     " la prova concorda (p \u2265 0,05): scarti almeno cos\u00ec grandi il caso "
                     "li d\u00e0 in almeno una prova su venti."
               : std::string("Rispetto ") + reference +
                     " la prova non concorda (p < 0,05): scarti cos\u00ec grandi il caso li "
                     "d\u00e0 in meno di una prova su venti.";
}

} // namespace

std::array<ChartMenuEntry, 4> chartMenu(const FormController& form) {
    const bool working = !form.hasFailed();
    const bool pictures = working && !form.isRunning();
    const bool run = working && form.lastRun().has_value();
    return {{{ChartAction::CopyPicture, "Copia immagine", pictures},
             {ChartAction::SavePicture, "Salva immagine\u2026", pictures},
             {ChartAction::SaveData, "Salva dati\u2026", run},
             {ChartAction::ShowAnalysis, "Analisi della prova\u2026", run}}};
}

PictureContent shownContent(const FormController& form, const std::string& program) {
    const ChartContents& shown = form.chartContents();
    PictureContent content;
    content.program = program;
    content.run = shown.run && shown.run->p; // a run still drawing shows in no picture
    content.theory = shown.theoreticalCurve;
    if (content.run) {
        content.parameters = shown.run->parameters;
        content.seed = shown.run->seed;
    }
    return content;
}

Table runData(const FinishedRun& run, const std::string& program) {
    return runTable(program, run.parameters, run.seed, run.p);
}

std::string runCsv(const FinishedRun& run, CsvStyle style) {
    return csvText(runData(run, {}), style);
}

std::string runFileStem(const FinishedRun& run) {
    return "correlatore-seme-" + std::to_string(run.seed);
}

RunReport runReport(const FinishedRun& run) {
    const RunAnalysis analysis = analyseRun(run.parameters, run.p);
    RunReport report;
    report.facts = {{"Seme", std::to_string(run.seed)},
                    {"Beta", std::to_string(run.parameters.beta)},
                    {"Nm", std::to_string(run.parameters.nm)}};
    report.verdict = agreement("al modello a cinque uniformi", analysis.model) + " " +
                     agreement("alla legge dell'arcoseno con \u03c0 vero", analysis.arcsine);
    if (analysis.pValueIsApproximate)
        report.verdict += " Con Beta sotto " + std::to_string(approximatePValueBelowBeta) +
                          " il valore p \u00e8 approssimato: vicino a C = \u00b11 lo stato "
                          "dell'integratore \u00e8 asimmetrico.";
    report.numbers = italianFitNumbers(analysis);
    report.residuals = residualChart(analysis, run.seed);
    return report;
}

} // namespace correlatore
