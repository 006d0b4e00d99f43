#pragma once

namespace correlatore {

// The probability that a chi-square variable with `degreesOfFreedom` degrees of freedom exceeds
// `chiSquare`: the p-value of a goodness-of-fit test. 0 where it underflows.
double chiSquareUpperTail(double chiSquare, int degreesOfFreedom);

} // namespace correlatore
