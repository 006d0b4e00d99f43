#include "theory.h"

#include "run_time_error.h"

#include <cfenv>
#include <cmath>

namespace correlatore {

namespace {

// The sweep tests the sticky flags of the floating-point environment after every point. The flags
// are cleared before each point, so a condition is pinned on the point that raised it.
constexpr int watchedExceptions = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

[[noreturn]] void raiseFloatingPointError(int raised) {
    if (raised & FE_DIVBYZERO)
        throw RunTimeError(error_code::divisionByZero, "Divisione per zero");
    if (raised & FE_OVERFLOW)
        throw RunTimeError(error_code::overflow, "Overflow");
    throw RunTimeError(error_code::floatingPointInvalid, "Operazione in virgola mobile non valida");
}

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
        std::feclearexcept(watchedExceptions);
        const double crt = formula(s);
        if (const int raised = std::fetestexcept(watchedExceptions))
            raiseFloatingPointError(raised);
        draw({s, crt});
    }
}

} // namespace correlatore
