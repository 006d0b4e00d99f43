// Any other architecture: the vector code as the compiler lowers it for the baseline.

#include "kernel_dispatch.h"

namespace correlatore {

void runSamples_generic(BlockState& state, long samples);

std::vector<KernelVariant> vectorKernels() {
    return {{"generic", runSamples_generic}};
}

} // namespace correlatore
