#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace correlatore {

// A block of up to blockLanes consecutive steps, simulated side by side, one per vector lane:
// the integrator is a serial chain along a step, so speed comes from running steps together.
inline constexpr int blockLanes = 32;

// Everything a kernel touches, lane by lane: the generators' states, each step's signal
// amplitude, and the integrators.
struct BlockState {
    std::uint32_t s0[blockLanes], s1[blockLanes], s2[blockLanes], s3[blockLanes];
    double amplitude[blockLanes];
    double acc[blockLanes];
    // The analogue correlator's integrators and each step's 1 / inputVariance(A), touched only
    // when `analogue` is set: a run without it does what it always did, at the same speed.
    double analogueAcc[blockLanes];
    double productWeight[blockLanes];
    double beta;
    int lanes = blockLanes; // the block's steps, in lanes 0 .. lanes - 1; the rest is padding
    bool analogue = false;
};

// Advances lanes 0 .. lanes - 1 by `samples` samples; padding lanes may be advanced too, or left.
// The kernels built for other instruction sets share no inline code with the rest of the program,
// so none of their instructions can leak into it.
using SampleKernel = void (*)(BlockState& state, long samples);

struct KernelVariant {
    std::string_view isa;
    SampleKernel run;
};

// The kernels this processor can run, best first; "scalar", the reference, always last.
const std::vector<KernelVariant>& availableKernels();

// The best kernel, or the one named; null when the named one cannot run here.
SampleKernel kernelFor(std::string_view isa);

// Sets a block's lanes to the start of steps firstStep, firstStep + 1, ..., with the analogue
// correlator beside the clipped one if asked.
void startBlock(BlockState& state, std::uint64_t seed, int firstStep, int beta,
                bool analogue = false);

} // namespace correlatore
