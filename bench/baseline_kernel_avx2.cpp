// The baseline kernel built for one instruction set; its compile flags are set in CMakeLists.txt.
#define BASELINE_KERNEL_NAME runBaseline_avx2
#include "baseline_kernel_impl.h"
