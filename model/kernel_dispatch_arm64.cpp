// arm64: NEON is part of the baseline, so there is nothing to ask the processor.

#include "kernel_dispatch.h"

namespace correlatore {

void runSamples_neon(BlockState& state, long samples);

std::vector<KernelVariant> vectorKernels() {
    return {{"neon", runSamples_neon}};
}

} // namespace correlatore
