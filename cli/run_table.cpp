#include "run_table.h"

#include "run_table_rows.h"

#include <string>
#include <vector>

namespace correlatore {

namespace {

std::vector<std::string> headerFor(const SimulateCommand& command) {
    std::vector<std::string> header = runTableHeader();
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
    std::vector<Cell> row = runTableRow(step, m_curves.model[index]);
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
    m_table->finish(runTableDetails(commandLineProgram, seed, analysis));
    return analysis;
}

} // namespace correlatore
