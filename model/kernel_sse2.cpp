// The sample kernel built for one instruction set; its compile flags are set in CMakeLists.txt.
#define CORRELATORE_KERNEL_NAME runSamples_sse2
#include "correlator_kernel_impl.h"
