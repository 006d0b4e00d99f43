#pragma once

namespace correlatore {

// Functions of run-dependent values that a run prints to the last digit. The C libraries' pow, sin
// and log10 may differ in the last bit from one system to another; these are made of additions,
// multiplications and divisions only, which IEEE arithmetic rounds the same everywhere, so a seed
// gives the same bytes on every build.

// base^exponent for exponent >= 0, by repeated squaring: each squaring doubles the rounding error
// before it, so the result is within about `exponent` units in the last place (1e-11 relative for
// the 400002nd power), which is ample for how far an integrator has settled.
double portablePower(double base, long exponent);

// sin x for |x| <= 2, from its Taylor series, within a few units in the last place.
double portableSine(double x);

// log10 x for finite x > 0, within a few units in the last place.
double portableLog10(double x);

} // namespace correlatore
