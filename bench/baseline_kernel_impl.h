// The engine's kernel as it was before two chains were interleaved, kept unchanged as the
// benchmarks' baseline: one block of sixteen lanes at a time, 64-byte vectors whatever the
// instruction set. Each file that includes it defines BASELINE_KERNEL_NAME first.

#include "baseline_kernel.h"

namespace correlatore::baseline {

namespace {

using u32x16 = std::uint32_t __attribute__((vector_size(64)));
using i32x16 = std::int32_t __attribute__((vector_size(64)));
using f32x16 = float __attribute__((vector_size(64)));
using f64x8 = double __attribute__((vector_size(64)));
using i64x8 = std::int64_t __attribute__((vector_size(64)));

static_assert(baselineLanes == 16);

template <typename V, typename T> V load(const T* from) {
    V v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}
template <typename V, typename T> void store(T* to, V v) {
    __builtin_memcpy(to, &v, sizeof v);
}

// Sixteen xoshiro128+ generators, one per lane. A draw is the top 24 bits k of an output, and
// stands for the float k * 2^-24 in [0, 1), as in the scalar reference. The kernel works with k
// itself, a whole number held exactly in a float: scaling by a power of two commutes with every
// rounding here (no sum comes near underflow or overflow), so sums, signs and coincidences come
// out exactly as with the scaled draws, and fifteen multiplications a sample are saved.
struct Generators {
    u32x16 s0, s1, s2, s3;

    f32x16 nextScaled() {
        const u32x16 result = s0 + s3;
        const u32x16 t = s1 << 9;
        s2 ^= s0;
        s3 ^= s1;
        s1 ^= s2;
        s0 ^= s3;
        s2 ^= t;
        s3 = (s3 << 11) | (s3 >> 21);
        return __builtin_convertvector(reinterpret_cast<i32x16>(result >> 8), f32x16);
    }

    // ((((r1 + r2) + r3) + r4) + r5) * 2^24, each addition in single precision.
    f32x16 scaledSumOfFive() {
        const f32x16 r1 = nextScaled(), r2 = nextScaled(), r3 = nextScaled(), r4 = nextScaled(),
                     r5 = nextScaled();
        return (((r1 + r2) + r3) + r4) + r5;
    }
};

f64x8 lowerHalf(f32x16 v) {
    return __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1, 2, 3, 4, 5, 6, 7), f64x8);
}
f64x8 upperHalf(f32x16 v) {
    return __builtin_convertvector(__builtin_shufflevector(v, v, 8, 9, 10, 11, 12, 13, 14, 15),
                                   f64x8);
}

// 1.0 where the signs of the two inputs (signal * A) + noise agree, exactly 0 counting as not
// positive; else 0.0.
f64x8 agreement(f64x8 signal, f64x8 amplitude, f64x8 noise1, f64x8 noise2) {
    const f64x8 product = signal * amplitude;
    const i64x8 bit1 = (product + noise1) > 0.0;
    const i64x8 bit2 = (product + noise2) > 0.0;
    const i64x8 same = bit1 == bit2;
    const f64x8 one = {1, 1, 1, 1, 1, 1, 1, 1};
    return reinterpret_cast<f64x8>(same & reinterpret_cast<i64x8>(one));
}

} // namespace

void BASELINE_KERNEL_NAME(BaselineBlock& state, long samples) {
    Generators g{load<u32x16>(state.s0), load<u32x16>(state.s1), load<u32x16>(state.s2),
                 load<u32x16>(state.s3)};
    const f64x8 amplitudeLow = load<f64x8>(state.amplitude);
    const f64x8 amplitudeHigh = load<f64x8>(state.amplitude + 8);
    f64x8 accLow = load<f64x8>(state.acc);
    f64x8 accHigh = load<f64x8>(state.acc + 8);
    const double b = state.beta;
    const f64x8 beta = {b, b, b, b, b, b, b, b};
    // 2.5 * 2^24: the sums less this are noise and signal scaled by 2^24, exactly.
    const double o = 2.5 * 0x1p24;
    const f64x8 offset = {o, o, o, o, o, o, o, o};

    for (long k = 0; k < samples; ++k) {
        const f32x16 noise1 = g.scaledSumOfFive();
        const f32x16 noise2 = g.scaledSumOfFive();
        const f32x16 signal = g.scaledSumOfFive();
        const f64x8 agreeLow = agreement(lowerHalf(signal) - offset, amplitudeLow,
                                         lowerHalf(noise1) - offset, lowerHalf(noise2) - offset);
        const f64x8 agreeHigh = agreement(upperHalf(signal) - offset, amplitudeHigh,
                                          upperHalf(noise1) - offset, upperHalf(noise2) - offset);
        // A true division on purpose: its rounding is part of the result.
        accLow = (agreeLow + accLow) - accLow / beta;
        accHigh = (agreeHigh + accHigh) - accHigh / beta;
    }

    store(state.s0, g.s0);
    store(state.s1, g.s1);
    store(state.s2, g.s2);
    store(state.s3, g.s3);
    store(state.acc, accLow);
    store(state.acc + 8, accHigh);
}

} // namespace correlatore::baseline
