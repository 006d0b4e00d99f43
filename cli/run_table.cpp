#include "run_table.h"

#include "chart_geometry.h"
#include "step_constants.h"

#include <string>

namespace correlatore {

RunTable::RunTable(OutputFile& output, const SimulateCommand& command)
    : m_parameters(command.parameters)
    , m_curves(expectedCurves(command.parameters))
    , m_table(openTable(
          output, command.out, "simulate",
          {"s", "p", "px", "py", "c", "crt", "c_model", "sd", "z", "rho_hat", "snr_db_hat"})) {}

void RunTable::addStep(const StepResult& step) {
    const auto index = static_cast<std::size_t>(step.index);
    m_p[index] = step.p;
    const StepAnalysis analysis = analyseStep(step.p, m_curves.model[index]);
    // The theory's value comes from the fixed table, not the C library: the same bytes on every
    // system.
    m_table->addRow({step.s, step.p, chart::xOfSiNi(step.s), chart::yOfCoincidence(step.p),
                     analysis.c, stepTheory[index], analysis.expected.c, analysis.expected.sd,
                     analysis.z, analysis.input ? Cell(analysis.input->rho) : Cell(),
                     analysis.input ? Cell(analysis.input->snrDb) : Cell()});
}

RunAnalysis RunTable::finish(std::uint64_t seed) {
    const RunAnalysis analysis = analyseRun(m_parameters, m_p);
    std::vector<Detail> details = programDetails(m_parameters);
    // As text: a spreadsheet's numbers keep 15 digits, and a seed has up to 20.
    details.push_back({"seed", std::to_string(seed)});
    details.push_back({"chi2/dof against the model", analysis.model.perDegreeOfFreedom});
    details.push_back({"p against the model", analysis.model.pValue});
    details.push_back({"chi2/dof against the arcsine law", analysis.arcsine.perDegreeOfFreedom});
    details.push_back({"p against the arcsine law", analysis.arcsine.pValue});
    if (analysis.pValueIsApproximate)
        details.push_back(
            {"note", "p approximate below Beta " + std::to_string(approximatePValueBelowBeta)});
    m_table->finish(details);
    return analysis;
}

} // namespace correlatore
