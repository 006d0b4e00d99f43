#include "measured_efficiency.h"

#include "analogue_expectation.h"
#include "expectation.h"
#include "sum_of_five_uniforms.h"

#include <cmath>

namespace correlatore {

namespace {

// (E|x|)^2 / sigma^2 for one input, a sum of five uniform draws less 2.5: E|x| = 2 * integral of
// x f(x) from 0 to 2.5, by Simpson's rule over a piecewise polynomial.
double signAndProductCorrelation() {
    constexpr int intervals = 2500;
    constexpr double width = 2.5 / intervals;
    double sum = 0.0;
    for (int i = 0; i <= intervals; ++i) {
        const double x = i * width;
        const double weight = i == 0 || i == intervals ? 1.0 : i % 2 == 1 ? 4.0 : 2.0;
        sum += weight * x * sumOfFiveDensity(x);
    }
    const double meanAbsolute = 2.0 * sum * width / 3.0;
    return meanAbsolute * meanAbsolute / sumOfFiveVariance;
}

} // namespace

MeasuredEfficiency measuredEfficiency(RunParameters parameters,
                                      const std::array<double, simulationStepCount>& p,
                                      const std::array<double, simulationStepCount>& r) {
    const ExpectedCurves clipped = expectedCurves(parameters);
    const AnalogueCurves analogue = analogueCurves(parameters);
    const double noSignal = expectationOf(0.5, settlingOf(parameters)).c;
    double clippedSum = 0.0, analogueSum = 0.0, weights = 0.0;
    for (int i = 0; i < simulationStepCount && siNiOfStep(i) <= measuredEfficiencyUpToSiNi; ++i) {
        const auto step = static_cast<std::size_t>(i);
        const AnalogueExpectation& expected = analogue.expected[step];
        const double weight = expected.r / expected.sd;
        clippedSum += weight * (2.0 * p[step] - 1.0 - noSignal) / clipped.model[step].sd;
        analogueSum += weight * r[step] / expected.sd;
        weights += weight * weight;
    }
    const double limit = lowSignalEfficiency();
    const double kappa = signAndProductCorrelation();
    return {clippedSum / analogueSum,
            std::sqrt((1.0 + limit * limit - 2.0 * limit * kappa) / weights)};
}

} // namespace correlatore
