#pragma once

#include <cstdint>

namespace correlatore {

// One sample of the polarity-coincidence correlator, from its fifteen draws r1 .. r15.

// ((((a + b) + c) + d) + e) in single precision: each addition rounded to float, in this grouping.
inline float sumOfFive(const float* r) {
    return (((r[0] + r[1]) + r[2]) + r[3]) + r[4];
}

// 1 when the two clipped inputs agree. The inputs are (signal * A) + noise in double precision;
// an input of exactly 0 counts as not positive.
inline int coincidence(const float* r, double amplitude) {
    const double noise1 = static_cast<double>(sumOfFive(r)) - 2.5;
    const double noise2 = static_cast<double>(sumOfFive(r + 5)) - 2.5;
    const double signal = static_cast<double>(sumOfFive(r + 10)) - 2.5;
    const double input1 = signal * amplitude + noise1;
    const double input2 = signal * amplitude + noise2;
    const int bit1 = input1 > 0.0 ? 1 : 0;
    const int bit2 = input2 > 0.0 ? 1 : 0;
    return 1 - (bit1 ^ bit2);
}

// The leaky integrator: (agree + acc) - acc / beta, with a true division. Its rounding is part
// of the result, so it is neither replaced by a closed form nor by a reciprocal multiply.
inline double integrate(double acc, int agree, int beta) {
    return (static_cast<double>(agree) + acc) - acc / static_cast<double>(beta);
}

} // namespace correlatore
