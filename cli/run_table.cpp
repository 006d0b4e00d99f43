#include "run_table.h"

#include "run_table_rows.h"

#include <string>

namespace correlatore {

RunTable::RunTable(OutputFile& output, const SimulateCommand& command)
    : m_parameters(command.parameters)
    , m_curves(expectedCurves(command.parameters))
    , m_table(openTable(output, command.out, "simulate", runTableHeader())) {}

void RunTable::addStep(const StepResult& step) {
    const auto index = static_cast<std::size_t>(step.index);
    m_p[index] = step.p;
    m_table->addRow(runTableRow(step, m_curves.model[index]));
}

RunAnalysis RunTable::finish(std::uint64_t seed) {
    const RunAnalysis analysis = analyseRun(m_parameters, m_p);
    m_table->finish(runTableDetails(commandLineProgram, seed, analysis));
    return analysis;
}

} // namespace correlatore
