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

// The arcsine law with the true pi at the step's Si/Ni, (2 / pi) * arcsin(rho) with
// rho = A^2 / (A^2 + 1): the curve that two Gaussian inputs would give, unsettled. Computed as
// (2 / pi) * atan(A^2 / sqrt(2 A^2 + 1)), which loses nothing as rho nears 1.
extern const std::array<double, simulationStepCount> stepArcsineLaw;

} // namespace correlatore
