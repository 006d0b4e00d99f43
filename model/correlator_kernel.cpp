#include "correlator_kernel.h"

#include "correlator.h"
#include "correlator_sample.h"
#include "kernel_dispatch.h"
#include "random_stream.h"
#include "step_constants.h"

namespace correlatore {

namespace {

// `samples` samples of one lane, one at a time: fifteen draws in order, then the integrator, and
// the analogue correlator's integrator when the block has it.
void runSamples(BlockState& state, int lane, long samples) {
    StepStream stream(
        Xoshiro128State{{state.s0[lane], state.s1[lane], state.s2[lane], state.s3[lane]}});
    const double amplitude = state.amplitude[lane];
    const double weight = state.productWeight[lane];
    const int beta = static_cast<int>(state.beta);
    double acc = state.acc[lane];
    double analogueAcc = state.analogueAcc[lane];
    float r[15];
    for (long k = 0; k < samples; ++k) {
        for (float& draw : r)
            draw = stream.next();
        acc = integrate(acc, coincidence(r, amplitude), beta);
        if (state.analogue)
            analogueAcc = integrate(analogueAcc, normalisedProduct(r, amplitude, weight), beta);
    }
    const Xoshiro128State end = stream.state();
    state.s0[lane] = end.s[0];
    state.s1[lane] = end.s[1];
    state.s2[lane] = end.s[2];
    state.s3[lane] = end.s[3];
    state.acc[lane] = acc;
    state.analogueAcc[lane] = analogueAcc;
}

// The scalar reference kernel: the same samples, one lane after another.
void runSamplesScalar(BlockState& state, long samples) {
    for (int lane = 0; lane < blockLanes; ++lane)
        runSamples(state, lane, samples);
}

} // namespace

void startBlock(BlockState& state, std::uint64_t seed, int firstStep, int beta, bool analogue) {
    for (int lane = 0; lane < blockLanes; ++lane) {
        const Xoshiro128State x = streamStart(seed, firstStep + lane);
        state.s0[lane] = x.s[0];
        state.s1[lane] = x.s[1];
        state.s2[lane] = x.s[2];
        state.s3[lane] = x.s[3];
        // The lanes past the last step only fill the vector; their results are dropped.
        const int step = firstStep + lane;
        state.amplitude[lane] =
            step < simulationStepCount ? stepAmplitudes[static_cast<std::size_t>(step)] : 1.0;
        state.acc[lane] = 0.0;
        state.analogueAcc[lane] = 0.0;
        state.productWeight[lane] = 1.0 / inputVariance(state.amplitude[lane]);
    }
    state.beta = beta;
    state.analogue = analogue;
}

const std::vector<KernelVariant>& availableKernels() {
    static const std::vector<KernelVariant> kernels = [] {
        std::vector<KernelVariant> list = vectorKernels();
        list.push_back({"scalar", runSamplesScalar});
        return list;
    }();
    return kernels;
}

SampleKernel kernelFor(std::string_view isa) {
    const auto& kernels = availableKernels();
    if (isa.empty())
        return kernels.front().run;
    for (const KernelVariant& kernel : kernels)
        if (kernel.isa == isa)
            return kernel.run;
    return nullptr;
}

} // namespace correlatore
