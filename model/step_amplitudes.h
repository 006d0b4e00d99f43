#pragma once

#include "correlator.h"

#include <array>

namespace correlatore {

// The signal amplitude 10^(s / 20) of each simulation step, fixed to the last bit so that a run
// does not depend on the C library's pow.
extern const std::array<double, simulationStepCount> stepAmplitudes;

} // namespace correlatore
