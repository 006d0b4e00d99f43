#include "run_table.h"

#include "chart_geometry.h"
#include "step_constants.h"

#include <string>
#include <vector>

namespace correlatore {

namespace {

std::vector<std::string> headerFor(const SimulateCommand& command) {
    std::vector<std::string> header{"s",       "p",  "px", "py",      "c",         "crt",
                                    "c_model", "sd", "z",  "rho_hat", "snr_db_hat"};
    if (command.analogue)
        header.insert(header.end(), {"r", "r_model", "r_sd", "eta"});
    return header;
}

} // namespace

RunTable::RunTable(OutputFile& output, const SimulateCommand& command)
    : m_parameters(command.parameters)
    , m_analogue(command.analogue)
    , m_curves(expectedCurves(command.parameters))
    , m_analogueCurves(command.analogue ? analogueCurves(command.parameters) : AnalogueCurves{})
    , m_table(openTable(output, command.out, "simulate", headerFor(command))) {}

void RunTable::addStep(const StepResult& step) {
    const auto index = static_cast<std::size_t>(step.index);
    m_p[index] = step.p;
    const StepAnalysis analysis = analyseStep(step.p, m_curves.model[index]);
    // The theory's value comes from the fixed table, not the C library: the same bytes on every
    // system.
    std::vector<Cell> row{step.s,
                          step.p,
                          chart::xOfSiNi(step.s),
                          chart::yOfCoincidence(step.p),
                          analysis.c,
                          stepTheory[index],
                          analysis.expected.c,
                          analysis.expected.sd,
                          analysis.z,
                          analysis.input ? Cell(analysis.input->rho) : Cell(),
                          analysis.input ? Cell(analysis.input->snrDb) : Cell()};
    if (m_analogue) {
        m_r[index] = step.r;
        const AnalogueExpectation& expected = m_analogueCurves.expected[index];
        row.insert(row.end(),
                   {step.r, expected.r, expected.sd, m_analogueCurves.efficiency[index]});
    }
    m_table->addRow(row);
}

RunAnalysis RunTable::finish(std::uint64_t seed) {
    const RunAnalysis analysis =
        m_analogue ? analyseRun(m_parameters, m_p, m_r) : analyseRun(m_parameters, m_p);
    std::vector<Detail> details = programDetails(m_parameters);
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
    m_table->finish(details);
    return analysis;
}

} // namespace correlatore
