#pragma once

#include "correlator_kernel.h"

#include <vector>

namespace correlatore {

// The vector kernels this processor can run, best first. Exactly one kernel_dispatch_*.cpp is
// built, the one for the target architecture (see CMakeLists.txt): the only place that knows
// which instruction sets exist and how to ask the processor about them.
std::vector<KernelVariant> vectorKernels();

} // namespace correlatore
