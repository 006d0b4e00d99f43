#include "analogue_expectation.h"

#include "agreement_probability.h"
#include "step_constants.h"
#include "sum_of_five_uniforms.h"

#include <cmath>

namespace correlatore {

ProductMoments productMoments(double amplitude) {
    const double a2 = amplitude * amplitude;
    const double sum = a2 + 1.0;
    constexpr double kurtosis =
        sumOfFiveFourthMoment / (sumOfFiveVariance * sumOfFiveVariance); // 2.76
    // The variance with rho^2 = A^4 / (A^2 + 1)^2 taken out of the numerator: nothing cancels as
    // rho nears 1.
    return {a2 / sum, (a2 * a2 * (kurtosis - 1.0) + 2.0 * a2 + 1.0) / (sum * sum)};
}

AnalogueExpectation analogueExpectationOf(const ProductMoments& product, const Settling& settling) {
    return {product.mean * settling.meanFactor,
            std::sqrt(product.variance * settling.varianceFactor)};
}

double efficiency(double agreement, const ProductMoments& product) {
    const double p = agreement;
    return (2.0 * p - 1.0) * std::sqrt(product.variance) /
           (2.0 * product.mean * std::sqrt(p * (1.0 - p)));
}

double lowSignalEfficiency() {
    const double density = sumOfFiveDensity(0.0);
    return 4.0 * density * density * sumOfFiveVariance;
}

AnalogueCurves analogueCurves(RunParameters parameters) {
    const Settling settling = settlingOf(parameters);
    const std::array<double, simulationStepCount>& agreement = stepAgreement();
    AnalogueCurves curves{};
    for (std::size_t i = 0; i < agreement.size(); ++i) {
        const ProductMoments product = productMoments(stepAmplitudes[i]);
        curves.expected[i] = analogueExpectationOf(product, settling);
        curves.efficiency[i] = efficiency(agreement[i], product);
    }
    return curves;
}

} // namespace correlatore
