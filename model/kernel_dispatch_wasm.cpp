// WebAssembly: SIMD128 is compiled in; a browser without it refuses the whole module at load
// time, so there is no run-time choice to make.

#include "kernel_dispatch.h"

namespace correlatore {

void runSamples_simd128(BlockState& state, long samples);

std::vector<KernelVariant> vectorKernels() {
    return {{"simd128", runSamples_simd128}};
}

} // namespace correlatore
