// The vector kernel, written once with the compiler's generic vector types and compiled once for
// each instruction set (see kernel_*.cpp): the same source, so the same numbers in every build.
// Each file that includes it defines CORRELATORE_KERNEL_NAME first. Everything here has internal
// linkage and uses no library templates: an inline function shared with the baseline build could
// otherwise end up compiled for an instruction set the processor lacks.

#include "correlator_kernel.h"

namespace correlatore {

namespace {

// The widest vector the instruction set's registers hold, in bytes. A file that includes this one
// may choose it with CORRELATORE_KERNEL_VECTOR_BYTES; otherwise the compiler's target says.
#if defined(CORRELATORE_KERNEL_VECTOR_BYTES)
constexpr int vectorBytes = CORRELATORE_KERNEL_VECTOR_BYTES;
#elif defined(__AVX512F__)
constexpr int vectorBytes = 64;
#elif defined(__AVX__)
constexpr int vectorBytes = 32;
#else
constexpr int vectorBytes = 16; // SSE2, NEON, WebAssembly SIMD128
#endif

// One chain is one register of generator lanes. A xoshiro128+ update is a short chain of dependent
// operations, so two chains advanced draw by draw keep the core busy while each waits on itself.
constexpr int chainLanes = vectorBytes / 4;
constexpr int chainsInFlight = 2;
constexpr int halfLanes = chainLanes / 2; // doubles in one register
static_assert(blockLanes % (chainLanes * chainsInFlight) == 0);

using Bits = std::uint32_t __attribute__((vector_size(vectorBytes)));
using Whole = std::int32_t __attribute__((vector_size(vectorBytes)));
using Single = float __attribute__((vector_size(vectorBytes)));
using Double = double __attribute__((vector_size(vectorBytes)));
using Mask = std::int64_t __attribute__((vector_size(vectorBytes)));

template <typename V, typename T> V load(const T* from) {
    V v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}
template <typename V, typename T> void store(T* to, V v) {
    __builtin_memcpy(to, &v, sizeof v);
}
Double splat(double x) {
    Double v;
    for (int i = 0; i < halfLanes; ++i)
        v[i] = x;
    return v;
}

// Lanes first .. first + halfLanes - 1 of v, widened; written lane by lane because that is the
// form every compiler turns into one conversion instruction.
Double widen(Single v, int first) {
    Double d;
#pragma GCC unroll 16
    for (int i = 0; i < halfLanes; ++i)
        d[i] = static_cast<double>(v[first + i]);
    return d;
}

// xoshiro128+ generators, one per lane, in `chains` registers. A draw is the top 24 bits k
// of an output, and stands for the float k * 2^-24 in [0, 1), as in the scalar reference. The
// kernel works with k itself, a whole number held exactly in a float: scaling by a power of two
// commutes with every rounding here (no sum comes near underflow or overflow), so sums, signs and
// coincidences come out exactly as with the scaled draws.
template <int chains> struct Generators {
    Bits s0[std::size_t{chains}], s1[std::size_t{chains}], s2[std::size_t{chains}],
        s3[std::size_t{chains}];

    void draw(Bits* k) {
#pragma GCC unroll 4
        for (int c = 0; c < chains; ++c) {
            const Bits result = s0[c] + s3[c];
            const Bits t = s1[c] << 9;
            s2[c] ^= s0[c];
            s3[c] ^= s1[c];
            s1[c] ^= s2[c];
            s0[c] ^= s3[c];
            s2[c] ^= t;
            s3[c] = (s3[c] << 11) | (s3[c] >> 21);
            k[c] = result >> 8;
        }
    }

    // ((((r1 + r2) + r3) + r4) + r5) * 2^24, each addition in single precision. The first sum of
    // two 24-bit whole numbers is exact as an integer, and its conversion rounds exactly as the
    // float addition would.
    void scaledSumsOfFive(Single* sum) {
        Bits k1[std::size_t{chains}], k2[std::size_t{chains}];
        draw(k1);
        draw(k2);
#pragma GCC unroll 4
        for (int c = 0; c < chains; ++c)
            sum[c] = __builtin_convertvector(reinterpret_cast<Whole>(k1[c] + k2[c]), Single);
        for (int term = 0; term < 3; ++term) {
            draw(k1);
#pragma GCC unroll 4
            for (int c = 0; c < chains; ++c)
                sum[c] += __builtin_convertvector(reinterpret_cast<Whole>(k1[c]), Single);
        }
    }
};

// The integrators and amplitudes of the lanes in flight, half a chain to a register. They live in
// memory: their dependency chains have plenty of slack, and the registers go to the generators.
// The analogue correlator's integrators and product weights are used only when it runs; the
// weights are scaled by 2^-48, since the kernel's inputs are 2^24 times the reference's.
template <int chains> struct Integrators {
    static constexpr int halves = 2 * chains;
    double amplitude[std::size_t{halves}][halfLanes];
    double acc[std::size_t{halves}][halfLanes];
    double analogueAcc[std::size_t{halves}][halfLanes];
    double scaledWeight[std::size_t{halves}][halfLanes];
};

// One sample of every lane in flight. An input (signal * A) + noise is positive exactly when the
// product exceeds -noise: the rounded sum keeps the exact sum's sign, and is 0 only when that is.
// -noise = 2.5 * 2^24 - sum is exact in double, so the comparison decides what the sum would.
// The analogue correlator needs the inputs themselves: each is 2^24 times the reference's input,
// since every operation before the sum is exact or rounds alike at either scale; their product is
// 2^48 times the reference's, and the weight's 2^-48 undoes that exactly.
template <int chains, bool analogue>
void sample(Generators<chains>& g, Integrators<chains>& integrators, Double beta) {
    Single noise1[std::size_t{chains}], noise2[std::size_t{chains}], signal[std::size_t{chains}];
    g.scaledSumsOfFive(noise1);
    g.scaledSumsOfFive(noise2);
    g.scaledSumsOfFive(signal);
    const Double offset = splat(2.5 * 0x1p24);
    const Double one = splat(1.0);
#pragma GCC unroll 8
    for (int h = 0; h < Integrators<chains>::halves; ++h) {
        const int c = h / 2, first = (h % 2) * halfLanes;
        const Double product =
            (widen(signal[c], first) - offset) * load<Double>(integrators.amplitude[h]);
        const Double noise1Offset = offset - widen(noise1[c], first);
        const Double noise2Offset = offset - widen(noise2[c], first);
        const Mask bit1 = product > noise1Offset;
        const Mask bit2 = product > noise2Offset;
        const Double agree = reinterpret_cast<Double>((bit1 == bit2) & reinterpret_cast<Mask>(one));
        const Double acc = load<Double>(integrators.acc[h]);
        // A true division on purpose: its rounding is part of the result.
        store(integrators.acc[h], (agree + acc) - acc / beta);
        if constexpr (analogue) {
            const Double input1 = product - noise1Offset;
            const Double input2 = product - noise2Offset;
            const Double x = (input1 * input2) * load<Double>(integrators.scaledWeight[h]);
            const Double analogueAcc = load<Double>(integrators.analogueAcc[h]);
            store(integrators.analogueAcc[h], (x + analogueAcc) - analogueAcc / beta);
        }
    }
}

// Lanes first .. first + chainLanes * chains - 1 of a block, `samples` samples on.
template <int chains, bool analogue> void runLanes(BlockState& state, int first, long samples) {
    Generators<chains> g;
    Integrators<chains> integrators;
#pragma GCC unroll 4
    for (int c = 0; c < chains; ++c) {
        const int lane = first + c * chainLanes;
        g.s0[c] = load<Bits>(state.s0 + lane);
        g.s1[c] = load<Bits>(state.s1 + lane);
        g.s2[c] = load<Bits>(state.s2 + lane);
        g.s3[c] = load<Bits>(state.s3 + lane);
    }
    for (int h = 0; h < Integrators<chains>::halves; ++h)
        for (int i = 0; i < halfLanes; ++i) {
            const int lane = first + h * halfLanes + i;
            integrators.amplitude[h][i] = state.amplitude[lane];
            integrators.acc[h][i] = state.acc[lane];
            integrators.analogueAcc[h][i] = state.analogueAcc[lane];
            integrators.scaledWeight[h][i] = state.productWeight[lane] * 0x1p-48;
        }
    const Double beta = splat(state.beta);

    for (long k = 0; k < samples; ++k)
        sample<chains, analogue>(g, integrators, beta);

#pragma GCC unroll 4
    for (int c = 0; c < chains; ++c) {
        const int lane = first + c * chainLanes;
        store(state.s0 + lane, g.s0[c]);
        store(state.s1 + lane, g.s1[c]);
        store(state.s2 + lane, g.s2[c]);
        store(state.s3 + lane, g.s3[c]);
    }
    for (int h = 0; h < Integrators<chains>::halves; ++h)
        for (int i = 0; i < halfLanes; ++i) {
            const int lane = first + h * halfLanes + i;
            state.acc[lane] = integrators.acc[h][i];
            state.analogueAcc[lane] = integrators.analogueAcc[h][i];
        }
}

// Whole groups of chains while their last chain holds a step, then single chains: a block that
// is mostly padding costs what its steps need.
template <bool analogue> void runBlock(BlockState& state, long samples) {
    constexpr int groupLanes = chainLanes * chainsInFlight;
    int first = 0;
    for (; state.lanes - first > groupLanes - chainLanes; first += groupLanes)
        runLanes<chainsInFlight, analogue>(state, first, samples);
    for (; first < state.lanes; first += chainLanes)
        runLanes<1, analogue>(state, first, samples);
}

} // namespace

void CORRELATORE_KERNEL_NAME(BlockState& state, long samples) {
    if (state.analogue)
        runBlock<true>(state, samples);
    else
        runBlock<false>(state, samples);
}

} // namespace correlatore
