#pragma once

#include "correlator.h"

#include <array>

namespace correlatore {

// The probability p that the two clipped inputs of one sample agree, for the simulation's own
// model: signal and noises each a sum of five uniform draws less 2.5, the signal scaled by
// `amplitude`. With f and F that distribution's density and distribution function,
//   p = integral of f(x) * [F(-A x)^2 + (1 - F(-A x))^2] dx.
// The integrand is a polynomial of degree 14 between the knots of f and of F(-A x), so
// Gauss-Legendre with 8 points on each piece gives it exactly, but for rounding. Made of additions,
// multiplications and divisions only: the same bits on every system.
double agreementProbability(double amplitude);

// p at each of the 241 steps, computed on every call.
std::array<double, simulationStepCount> computeStepAgreement();

// The same, computed once for the process.
const std::array<double, simulationStepCount>& stepAgreement();

} // namespace correlatore
