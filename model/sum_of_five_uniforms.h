#pragma once

namespace correlatore {

// The distribution of the simulation's signal and noises: a sum of five uniform draws on [0, 1)
// less 2.5, so mean 0, variance 5/12, support [-2.5, 2.5]. Its density is a polynomial of degree 4
// and its distribution function one of degree 5 between the knots -2.5, -1.5, ..., 2.5.

inline constexpr double sumOfFiveHalfWidth = 2.5;
inline constexpr double sumOfFiveKnots[] = {-2.5, -1.5, -0.5, 0.5, 1.5, 2.5};

// The density at x.
double sumOfFiveDensity(double x);

// The probability of a value at most x.
double sumOfFiveDistribution(double x);

} // namespace correlatore
