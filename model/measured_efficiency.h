#pragma once

#include "correlator.h"
#include "run_parameters.h"

#include <array>

namespace correlatore {

// What one run shows of the efficiency: the clipped correlator's output signal-to-noise ratio over
// the analogue one's, measured from its own estimates at low Si/Ni (at most -10 dB), where the
// exact ratio is close to its limit. Each correlator's ratio is a matched filter over those steps,
// every step's departure in units of its sd, weighted by the analogue one's expected ratio there;
// their quotient estimates eta. One run tells it to some ten percent, not 0.598 from 0.637.
inline constexpr double measuredEfficiencyUpToSiNi = -10.0;

double measuredEfficiency(RunParameters parameters,
                          const std::array<double, simulationStepCount>& p,
                          const std::array<double, simulationStepCount>& r);

} // namespace correlatore
