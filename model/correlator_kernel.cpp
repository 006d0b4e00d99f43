#include "correlator_kernel.h"

#include "correlator.h"
#include "correlator_sample.h"
#include "kernel_dispatch.h"
#include "random_stream.h"

#include <cmath>

namespace correlatore {

namespace {

// `samples` samples of one step, one at a time: fifteen draws in order, then the integrator.
double runSamples(StepStream& stream, double amplitude, double acc, long samples, int beta) {
    float r[15];
    for (long k = 0; k < samples; ++k) {
        for (float& draw : r)
            draw = stream.next();
        acc = integrate(acc, coincidence(r, amplitude), beta);
    }
    return acc;
}

// The scalar reference kernel: the same samples, one lane after another.
void runSamplesScalar(BlockState& state, long samples) {
    for (int lane = 0; lane < blockLanes; ++lane) {
        StepStream stream(
            Xoshiro128State{{state.s0[lane], state.s1[lane], state.s2[lane], state.s3[lane]}});
        const double acc = runSamples(stream, state.amplitude[lane], state.acc[lane], samples,
                                      static_cast<int>(state.beta));
        const Xoshiro128State end = stream.state();
        state.s0[lane] = end.s[0];
        state.s1[lane] = end.s[1];
        state.s2[lane] = end.s[2];
        state.s3[lane] = end.s[3];
        state.acc[lane] = acc;
    }
}

} // namespace

void startBlock(BlockState& state, std::uint64_t seed, int firstStep, int beta) {
    for (int lane = 0; lane < blockLanes; ++lane) {
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
