#include "expectation.h"

#include "agreement_probability.h"
#include "portable_math.h"
#include "step_constants.h"

#include <cmath>

namespace correlatore {

Settling settlingOf(RunParameters parameters) {
    const double beta = parameters.beta;
    const double q = 1.0 - 1.0 / beta;
    const long samples = long{parameters.nm} + 1;
    return {1.0 - portablePower(q, samples),
            (1.0 - portablePower(q, 2 * samples)) / (2.0 * beta - 1.0)};
}

Expectation expectationOf(double p, const Settling& settling) {
    const double meanP = p * settling.meanFactor;
    const double varianceP = p * (1.0 - p) * settling.varianceFactor;
    return {2.0 * meanP - 1.0, 2.0 * std::sqrt(varianceP)};
}

ExpectedCurves expectedCurves(RunParameters parameters) {
    const Settling settling = settlingOf(parameters);
    const std::array<double, simulationStepCount>& agreement = stepAgreement();
    ExpectedCurves curves{};
    for (std::size_t i = 0; i < agreement.size(); ++i) {
        curves.model[i] = expectationOf(agreement[i], settling);
        // Gaussian inputs agree with probability 1/2 + arcsin(rho) / pi = (1 + C) / 2.
        curves.arcsine[i] = expectationOf((1.0 + stepArcsineLaw[i]) / 2.0, settling);
    }
    return curves;
}

} // namespace correlatore
