#pragma once

#include <functional>

namespace correlatore {

// One point of the theoretical curve: the Si/Ni value in dB (the accumulated sweep counter) and
// the output correlation coefficient of the two clipped signals there.
struct TheoryPoint {
    double s;
    double crt;
};

// Crt(s) = (2 / 3.14) * arcsin(rho), rho = 1 / (1 + 1 / A^2), A = 10^(s / 20), with the arcsine
// taken through the arctangent. Each operation in double precision, in the classic program's order.
double theoreticalCorrelation(double s);

// Signature of the per-point formula, replaceable so that tests can inject a failing one.
using CorrelationFormula = double (*)(double s);

// Runs the sweep: s from -60 while s <= 60, s += 0.1 accumulated after each point (1200 points,
// the last at s = 59.900000000001164). Hands each point to `draw` as soon as it is computed.
// A point whose arithmetic raises invalid, division by zero or overflow ends the sweep with a
// RunTimeError before it is drawn; the points already handed out stay handed out.
void sweepTheory(const std::function<void(const TheoryPoint&)>& draw,
                 CorrelationFormula formula = theoreticalCorrelation);

} // namespace correlatore
