#pragma once

#include "chart_text.h"
#include "form_controller.h"

#include <array>
#include <string>

namespace correlatore {

// What clipping costs, for a finished run: the same run again, from the same seed, Beta and Nm,
// with the analogue correlator beside the clipped one. The clipped estimates come out the same, so
// the circles are the run's own.
SimulationOptions analogueRerunOptions(const FinishedRun& run);

struct AnalogueComparison {
    FinishedRun run;                             // the run again: its p are the last run's
    std::array<double, simulationStepCount> r{}; // the analogue estimates of the same samples
    std::string numbers; // the analogue fit and the efficiency, limit and measured, in Italian
    Figure chart;        // the circles beside the estimates r and their expected curve
};

// The comparison from the re-run's estimates.
AnalogueComparison analogueComparison(const FinishedRun& rerun,
                                      const std::array<double, simulationStepCount>& r);

// Runs the run again, on this thread, and compares. A fault of the run leaves by its exception.
AnalogueComparison compareWithAnalogue(const FinishedRun& run);

} // namespace correlatore
