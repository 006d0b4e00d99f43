#include "run_table_rows.h"

#include "analogue_expectation.h"
#include "chart_geometry.h"
#include "step_constants.h"

namespace correlatore {

std::vector<std::string> runTableHeader() {
    return {"s", "p", "px", "py", "c", "crt", "c_model", "sd", "z", "rho_hat", "snr_db_hat"};
}

std::vector<Cell> runTableRow(const StepResult& step, const Expectation& expected) {
    const StepAnalysis analysis = analyseStep(step.p, expected);
    // The theory's value comes from the fixed table, not the C library: the same bytes on every
    // system.
    return {step.s,
            step.p,
            chart::xOfSiNi(step.s),
            chart::yOfCoincidence(step.p),
            analysis.c,
            stepTheory[static_cast<std::size_t>(step.index)],
            analysis.expected.c,
            analysis.expected.sd,
            analysis.z,
            analysis.input ? Cell(analysis.input->rho) : Cell(),
            analysis.input ? Cell(analysis.input->snrDb) : Cell()};
}

std::vector<Detail> programDetails(const std::string& program) {
    return {{"program", program}};
}

std::vector<Detail> programDetails(const std::string& program, RunParameters parameters) {
    std::vector<Detail> details = programDetails(program);
    details.push_back({"Beta", static_cast<double>(parameters.beta)});
    details.push_back({"Nm", static_cast<double>(parameters.nm)});
    return details;
}

std::vector<Detail> runTableDetails(const std::string& program, std::uint64_t seed,
                                    const RunAnalysis& analysis) {
    std::vector<Detail> details = programDetails(program, analysis.parameters);
    // As text: a spreadsheet's numbers keep 15 digits, and a seed has up to 20.
    details.push_back({"seed", std::to_string(seed)});
    details.push_back({"chi2/dof against the model", analysis.model.perDegreeOfFreedom});
    details.push_back({"p against the model", analysis.model.pValue});
    details.push_back({"chi2/dof against the arcsine law", analysis.arcsine.perDegreeOfFreedom});
    details.push_back({"p against the arcsine law", analysis.arcsine.pValue});
    if (analysis.analogue) {
        details.push_back(
            {"chi2/dof of the analogue estimates", analysis.analogue->perDegreeOfFreedom});
        details.push_back({"p of the analogue estimates", analysis.analogue->pValue});
        details.push_back({"efficiency at low Si/Ni", lowSignalEfficiency()});
    }
    if (analysis.pValueIsApproximate)
        details.push_back(
            {"note", "p approximate below Beta " + std::to_string(approximatePValueBelowBeta)});
    return details;
}

Table runTable(const std::string& program, RunParameters parameters, std::uint64_t seed,
               const std::array<double, simulationStepCount>& p) {
    const ExpectedCurves curves = expectedCurves(parameters);
    Table table{runTableHeader(), {}, {}};
    for (int i = 0; i < simulationStepCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        table.rows.push_back(runTableRow({i, siNiOfStep(i), p[index]}, curves.model[index]));
    }
    table.details = runTableDetails(program, seed, analyseRun(parameters, p));
    return table;
}

} // namespace correlatore
