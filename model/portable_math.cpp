#include "portable_math.h"

#include <cmath>

namespace correlatore {

double portablePower(double base, long exponent) {
    double result = 1.0;
    for (; exponent > 0; exponent /= 2) {
        if (exponent % 2 != 0)
            result *= base;
        base *= base;
    }
    return result;
}

double portableSine(double x) {
    // x (1 - x^2/(2*3) (1 - x^2/(4*5) (1 - ...))) up to x^29: the first term left out, x^31/31!,
    // is below 1e-24 for |x| <= 2.
    const double square = x * x;
    double sum = 1.0;
    for (int k = 14; k >= 1; --k)
        sum = 1.0 - square / static_cast<double>((2 * k) * (2 * k + 1)) * sum;
    return x * sum;
}

double portableLog10(double x) {
    constexpr double log10Of2 = 0x1.34413509f79ffp-2;
    constexpr double log10OfE = 0x1.bcb7b1526e50ep-2;
    constexpr double rootHalf = 0x1.6a09e667f3bcdp-1;
    // x = m 2^e exactly, with m in [sqrt(1/2), sqrt(2)); then ln m = 2 atanh t, t = (m-1)/(m+1),
    // |t| <= 0.172, and the series 2 (t + t^3/3 + t^5/5 + ...) is done after 12 terms.
    int exponent = 0;
    double m = std::frexp(x, &exponent);
    if (m < rootHalf) {
        m *= 2.0;
        --exponent;
    }
    const double t = (m - 1.0) / (m + 1.0);
    const double square = t * t;
    double series = 0.0;
    for (int k = 11; k >= 0; --k)
        series = series * square + 1.0 / static_cast<double>(2 * k + 1);
    return static_cast<double>(exponent) * log10Of2 + 2.0 * t * series * log10OfE;
}

} // namespace correlatore
