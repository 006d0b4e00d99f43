#pragma once

#include "analogue_expectation.h"
#include "commands.h"
#include "correlator.h"
#include "expectation.h"
#include "run_analysis.h"
#include "table_output.h"

#include <array>
#include <cstdint>

namespace correlatore {

// The table that `simulate` writes: the six columns it has always had, then the model's E[C] and
// sd[C] at the step, the run's z, and Van Vleck's inversion of c (empty where there is none); with
// --analogue, the analogue estimate r, its E[r] and sd[r], and the efficiency eta after them.
// Every new number is made of IEEE operations only, so a seed gives the same bytes on every build.
class RunTable {
public:
    RunTable(OutputFile& output, const SimulateCommand& command);

    void addStep(const StepResult& step);

    // Completes the table, with the run's parameters and fit above a workbook's rows, and returns
    // the run's analysis.
    RunAnalysis finish(std::uint64_t seed);

private:
    RunParameters m_parameters;
    bool m_analogue;
    ExpectedCurves m_curves;
    AnalogueCurves m_analogueCurves;
    std::array<double, simulationStepCount> m_p{};
    std::array<double, simulationStepCount> m_r{};
    std::unique_ptr<TableOutput> m_table;
};

} // namespace correlatore
