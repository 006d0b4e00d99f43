#pragma once

#include "commands.h"
#include "correlator.h"
#include "expectation.h"
#include "run_analysis.h"
#include "table_output.h"

#include <array>
#include <cstdint>

namespace correlatore {

// The table that `simulate` writes (see runTableHeader), row by row as the steps come.
class RunTable {
public:
    RunTable(OutputFile& output, const SimulateCommand& command);

    void addStep(const StepResult& step);

    // Completes the table, with the run's parameters and fit above a workbook's rows, and returns
    // the run's analysis.
    RunAnalysis finish(std::uint64_t seed);

private:
    RunParameters m_parameters;
    ExpectedCurves m_curves;
    std::array<double, simulationStepCount> m_p{};
    std::unique_ptr<TableOutput> m_table;
};

} // namespace correlatore
