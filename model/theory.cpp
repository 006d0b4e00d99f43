#include "theory.h"

#include "run_time_error.h"

#include <cfenv>
#include <cmath>

namespace correlatore {

namespace {

#if defined(FE_INVALID) && defined(FE_DIVBYZERO) && defined(FE_OVERFLOW)
// The sweep tests the sticky flags of the floating-point environment after every point. The flags
// are cleared before each point, so a condition is pinned on the point that raised it.
constexpr int watchedExceptions = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

void clearWatchedConditions() {
    std::feclearexcept(watchedExceptions);
}

void checkWatchedConditions(double) {
    const int raised = std::fetestexcept(watchedExceptions);
    if (raised & FE_DIVBYZERO)
        throw RunTimeError(error_code::divisionByZero, "Divisione per zero");
    if (raised & FE_OVERFLOW)
        throw RunTimeError(error_code::overflow, "Overflow");
    if (raised)
        throw RunTimeError(error_code::floatingPointInvalid,
                           "Operazione in virgola mobile non valida");
}
#else
// Without sticky flags (WebAssembly has none), a fault shows in the point's result: an invalid
// operation as NaN, a division by zero or an overflow as an infinity.
void clearWatchedConditions() {}

void checkWatchedConditions(double result) {
    if (std::isnan(result))
        throw RunTimeError(error_code::floatingPointInvalid,
                           "Operazione in virgola mobile non valida");
    if (std::isinf(result))
        throw RunTimeError(error_code::overflow, "Overflow");
}
#endif

} // namespace

double theoreticalCorrelation(double s) {
    const double amplitude = std::pow(10.0, s / 20.0);
    const double amplitudeSquared = std::pow(amplitude, 2.0);
    const double rho = 1.0 / (1.0 + 1.0 / amplitudeSquared);
    const double d = std::sqrt(-rho * rho + 1.0);
    const double arcsine = std::atan(rho / d);
    // 3.14 stands for pi on purpose: the classic curve is about 1.0005 times the exact one.
    return (2.0 / 3.14) * arcsine;
}

void sweepTheory(const std::function<void(const TheoryPoint&)>& draw, CorrelationFormula formula) {
    // The counter is accumulated on purpose: its rounding gives 1200 points, not 1201.
    for (double s = -60.0; s <= 60.0;
         s += 0.1) { // NOLINT(clang-analyzer-security.FloatLoopCounter)
        clearWatchedConditions();
        const double crt = formula(s);
        checkWatchedConditions(crt);
        draw({s, crt});
    }
}

} // namespace correlatore
