#include "agreement_probability.h"

#include "step_constants.h"
#include "sum_of_five_uniforms.h"

#include <algorithm>
#include <limits>

namespace correlatore {

namespace {

// The 8-point Gauss-Legendre rule on [-1, 1]: the positive nodes and their weights, to the last
// bit (the negative nodes mirror them). Exact for polynomials up to degree 15.
constexpr double legendreNodes[] = {0x1.77ac94f3c7345p-3, 0x1.0d129583284b4p-1,
                                    0x1.97e4ab249f41ep-1, 0x1.ebab1cb0acc67p-1};
constexpr double legendreWeights[] = {0x1.736360b199343p-2, 0x1.413c50a255615p-2,
                                      0x1.c76fb531d2b96p-3, 0x1.9ea1d04ca0374p-4};

// The integrand is even in x (f is even, and so is F(-A x)^2 + F(A x)^2), so only x >= 0 is taken.
double integrand(double x, double amplitude) {
    const double below = sumOfFiveDistribution(-amplitude * x);
    const double above = sumOfFiveDistribution(amplitude * x); // 1 - F(-A x)
    return sumOfFiveDensity(x) * (below * below + above * above);
}

double gaussLegendre(double from, double to, double amplitude) {
    const double half = (to - from) / 2.0;
    const double middle = (to + from) / 2.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < std::size(legendreNodes); ++i)
        sum += legendreWeights[i] * (integrand(middle - half * legendreNodes[i], amplitude) +
                                     integrand(middle + half * legendreNodes[i], amplitude));
    return half * sum;
}

} // namespace

double agreementProbability(double amplitude) {
    // The pieces of [0, 2.5] on which the integrand is one polynomial: cut at the knots of f and
    // where A x crosses them, two ascending lists merged.
    constexpr double knots[] = {0.5, 1.5, sumOfFiveHalfWidth};
    double sum = 0.0;
    double from = 0.0;
    std::size_t knot = 0;
    std::size_t crossing = 0;
    while (knot < std::size(knots)) {
        const double crossingAt = crossing < std::size(knots)
                                      ? knots[crossing] / amplitude
                                      : std::numeric_limits<double>::infinity();
        const double to = std::min(knots[knot], crossingAt);
        ++(crossingAt < knots[knot] ? crossing : knot);
        if (to > from) {
            sum += gaussLegendre(from, to, amplitude);
            from = to;
        }
    }
    return 2.0 * sum;
}

std::array<double, simulationStepCount> computeStepAgreement() {
    std::array<double, simulationStepCount> p{};
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = agreementProbability(stepAmplitudes[i]);
    return p;
}

const std::array<double, simulationStepCount>& stepAgreement() {
    static const std::array<double, simulationStepCount> p = computeStepAgreement();
    return p;
}

} // namespace correlatore
