#include "baseline_kernel.h"
#include "correlator.h"
#include "random_stream.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace correlatore::baseline {

void runBaseline_avx512(BaselineBlock& state, long samples);
void runBaseline_avx2(BaselineBlock& state, long samples);
void runBaseline_sse2(BaselineBlock& state, long samples);
void runBaseline_generic(BaselineBlock& state, long samples);

const std::vector<BaselineVariant>& baselineKernels() {
    static const std::vector<BaselineVariant> kernels = {
#if CORRELATORE_BASELINE_X86
        {"avx512", runBaseline_avx512},
        {"avx2", runBaseline_avx2},
        {"sse2", runBaseline_sse2},
#else
        {"generic", runBaseline_generic},
#endif
    };
    return kernels;
}

void startBaselineBlock(BaselineBlock& state, std::uint64_t seed, int firstStep, int beta) {
    for (int lane = 0; lane < baselineLanes; ++lane) {
        const Xoshiro128State x = streamStart(seed, firstStep + lane);
        state.s0[lane] = x.s[0];
        state.s1[lane] = x.s[1];
        state.s2[lane] = x.s[2];
        state.s3[lane] = x.s[3];
        state.amplitude[lane] = std::pow(10.0, siNiOfStep(firstStep + lane) / 20.0);
        state.acc[lane] = 0.0;
    }
    state.beta = beta;
}

std::vector<double> baselineRun(BaselineKernel kernel, std::uint64_t seed, int beta, int nm,
                                unsigned threads) {
    constexpr int blockCount = (simulationStepCount + baselineLanes - 1) / baselineLanes;
    constexpr std::size_t paddedSteps = std::size_t{blockCount} * baselineLanes;
    constexpr long samplesBetweenCancelChecks = 4096;
    std::vector<double> p(paddedSteps);
    std::atomic<int> nextBlock{0};
    const auto work = [&] {
        for (int block; (block = nextBlock.fetch_add(1)) < blockCount;) {
            BaselineBlock state;
            startBaselineBlock(state, seed, block * baselineLanes, beta);
            const long samples = long{nm} + 1;
            for (long done = 0; done < samples; done += samplesBetweenCancelChecks)
                kernel(state, std::min(samplesBetweenCancelChecks, samples - done));
            const std::size_t first = static_cast<std::size_t>(block) * baselineLanes;
            for (int lane = 0; lane < baselineLanes; ++lane)
                p[first + static_cast<std::size_t>(lane)] = state.acc[lane] / state.beta;
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    p.resize(simulationStepCount);
    return p;
}

} // namespace correlatore::baseline
