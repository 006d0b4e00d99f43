#pragma once

#include <cstdint>

namespace correlatore {

// One sample of the polarity-coincidence correlator, from its fifteen draws r1 .. r15.

// ((((a + b) + c) + d) + e) in single precision: each addition rounded to float, in this grouping.
inline float sumOfFive(const float* r) {
    return (((r[0] + r[1]) + r[2]) + r[3]) + r[4];
}

// The correlator's two inputs before clipping: (signal * A) + noise in double precision.
struct SampleInputs {
    double input1;
    double input2;
};

inline SampleInputs inputsOf(const float* r, double amplitude) {
    const double noise1 = static_cast<double>(sumOfFive(r)) - 2.5;
    const double noise2 = static_cast<double>(sumOfFive(r + 5)) - 2.5;
    const double signal = static_cast<double>(sumOfFive(r + 10)) - 2.5;
    return {signal * amplitude + noise1, signal * amplitude + noise2};
}

// 1 when the two clipped inputs agree; an input of exactly 0 counts as not positive.
inline int coincidence(const float* r, double amplitude) {
    const SampleInputs inputs = inputsOf(r, amplitude);
    const int bit1 = inputs.input1 > 0.0 ? 1 : 0;
    const int bit2 = inputs.input2 > 0.0 ? 1 : 0;
    return 1 - (bit1 ^ bit2);
}

// The variance of either input, (A^2 + 1) * 5/12: signal and noise are independent sums of five
// uniform draws, each of variance 5/12.
inline double inputVariance(double amplitude) {
    return (amplitude * amplitude + 1.0) * (5.0 / 12.0);
}

// The analogue (multiplying) correlator's sample: the product of the two unclipped inputs over
// their variance, so that its mean is rho = A^2 / (A^2 + 1). `weight` is 1 / inputVariance(A),
// worked out once per step: a multiplication per sample, not a second division.
inline double normalisedProduct(const float* r, double amplitude, double weight) {
    const SampleInputs inputs = inputsOf(r, amplitude);
    return (inputs.input1 * inputs.input2) * weight;
}

// The leaky integrator: (agree + acc) - acc / beta, with a true division. Its rounding is part
// of the result, so it is neither replaced by a closed form nor by a reciprocal multiply.
inline double integrate(double acc, int agree, int beta) {
    return (static_cast<double>(agree) + acc) - acc / static_cast<double>(beta);
}

// The same integrator for the analogue correlator's samples.
inline double integrate(double acc, double sample, int beta) {
    return (sample + acc) - acc / static_cast<double>(beta);
}

} // namespace correlatore
