#include "sum_of_five_uniforms.h"

#include <cmath>

namespace correlatore {

namespace {

// The alternating sums of the Irwin-Hall distribution, sum over k <= t of (-1)^k C(5, k) (t - k)^n,
// taken only for t <= 2.5, the lower half: there the terms stay below 100 and lose nothing to
// cancellation, and the upper half follows by symmetry.
constexpr double alternatingBinomials[] = {1.0, -5.0, 10.0};

double lowerHalfSum(double t, int power) {
    double sum = 0.0;
    for (int k = 0; k < 3 && k < t; ++k) {
        const double u = t - k;
        double term = alternatingBinomials[k];
        for (int i = 0; i < power; ++i)
            term *= u;
        sum += term;
    }
    return sum;
}

} // namespace

double sumOfFiveDensity(double x) {
    const double t = sumOfFiveHalfWidth - std::fabs(x); // the density is even
    if (t <= 0.0)
        return 0.0;
    return lowerHalfSum(t, 4) / 24.0;
}

double sumOfFiveDistribution(double x) {
    if (x > 0.0)
        return 1.0 - sumOfFiveDistribution(-x);
    const double t = x + sumOfFiveHalfWidth;
    if (t <= 0.0)
        return 0.0;
    return lowerHalfSum(t, 5) / 120.0;
}

} // namespace correlatore
