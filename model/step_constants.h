#pragma once

#include "correlator.h"

#include <array>

namespace correlatore {

// Numbers of each simulation step that would otherwise come from the C library's pow and atan,
// fixed to the last bit so that a run prints the same bytes on every system.

// The signal amplitude 10^(s / 20).
extern const std::array<double, simulationStepCount> stepAmplitudes;

// The theoretical Crt at the step's Si/Ni: theoreticalCorrelation(s), as the reference build
// computes it.
extern const std::array<double, simulationStepCount> stepTheory;

} // namespace correlatore
