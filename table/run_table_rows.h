#pragma once

#include "correlator.h"
#include "expectation.h"
#include "run_analysis.h"
#include "table_cells.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace correlatore {

// The table of a simulation run, as `simulate` writes it and the window and the page save it:
// the six columns it has always had (s, p, px, py, c, crt), then the model's E[C] and sd[C] at
// the step, the run's z, and Van Vleck's inversion of c (empty where there is none). Every new
// number is made of IEEE operations only, so a seed gives the same bytes on every build.
std::vector<std::string> runTableHeader();

// The row of one step, against the model's expectation at that step.
std::vector<Cell> runTableRow(const StepResult& step, const Expectation& expected);

// What a workbook shows above the table: the program that made it (name and version), Beta, Nm,
// the seed and the fit (the analogue estimates' too, where the analysis has them).
std::vector<Detail> runTableDetails(const std::string& program, std::uint64_t seed,
                                    const RunAnalysis& analysis);

// The whole table of a finished run, from its 241 values of P in step order.
Table runTable(const std::string& program, RunParameters parameters, std::uint64_t seed,
               const std::array<double, simulationStepCount>& p);

// The first details of every workbook: the program, and the Beta and Nm its numbers are for.
std::vector<Detail> programDetails(const std::string& program);
std::vector<Detail> programDetails(const std::string& program, RunParameters parameters);

} // namespace correlatore
