// The sample kernel built for one instruction set; its compile flags are set in CMakeLists.txt.
#define CORRELATORE_KERNEL_NAME runSamples_simd128
#include "correlator_kernel_impl.h"
