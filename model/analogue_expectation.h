#pragma once

#include "correlator.h"
#include "expectation.h"
#include "run_parameters.h"

#include <array>

namespace correlatore {

// What the analogue (multiplying) correlator is expected to give from the same samples as the
// clipped one, and what clipping costs beside it.

// The moments of the simulation's signal and noises, sums of five uniform draws less 2.5: the
// variance 5 * 1/12, and the fourth moment 5 * 1/80 + 3 * 5 * 4 * (1/12)^2 = 23/48 (each draw's own
// fourth moment, and the pairs of different draws), which is 2.76 times the variance squared.
inline constexpr double sumOfFiveVariance = 5.0 / 12.0;
inline constexpr double sumOfFiveFourthMoment = 23.0 / 48.0;

// One normalised product (input1 * input2) / ((A^2 + 1) sigma^2): its mean rho = A^2 / (A^2 + 1)
// and its variance (A^4 mu4 + 2 A^2 sigma^4 + sigma^4) / ((A^2 + 1)^2 sigma^4) - rho^2.
struct ProductMoments {
    double mean;
    double variance;
};

ProductMoments productMoments(double amplitude);

// The analogue estimate r, the integrator's final state over Beta, settled as P is:
// E[r] = rho (1 - q^(Nm+1)) and Var[r] = v (1 - q^(2 (Nm+1))) / (2 Beta - 1).
struct AnalogueExpectation {
    double r;
    double sd;
};

AnalogueExpectation analogueExpectationOf(const ProductMoments& product, const Settling& settling);

// The clipped correlator's output signal-to-noise ratio over the analogue one's at one step:
// (E[C] - E[C] with no signal) / sd[C] over E[r] / sd[r]. Both average the same samples through the
// same integrator, so the settling cancels and Beta and Nm do not matter:
// eta = (2p - 1) sqrt(v) / (2 rho sqrt(p (1 - p))), p the probability that the clipped inputs
// agree.
double efficiency(double agreement, const ProductMoments& product);

// eta's limit at low Si/Ni, 4 f(0)^2 sigma^2 = 0.5979 with f(0) = 115/192 the density at 0 of a sum
// of five uniform draws less 2.5 (Gaussian inputs would give 2/pi = 0.6366).
double lowSignalEfficiency();

// Every step's expectation of r and its efficiency, for a run with these parameters.
struct AnalogueCurves {
    std::array<AnalogueExpectation, simulationStepCount> expected;
    std::array<double, simulationStepCount> efficiency;
};

AnalogueCurves analogueCurves(RunParameters parameters);

} // namespace correlatore
