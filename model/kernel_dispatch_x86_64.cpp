// x86-64: every processor has SSE2; AVX2 and AVX-512 are chosen at run time, when both the
// processor has them and the operating system saves their registers on a thread switch.

#include "kernel_dispatch.h"

#include <cpuid.h>
#include <cstdint>

namespace correlatore {

void runSamples_avx512(BlockState& state, long samples);
void runSamples_avx2(BlockState& state, long samples);
void runSamples_sse2(BlockState& state, long samples);

namespace {

struct WideVectorSupport {
    bool avx2 = false;
    bool avx512 = false;
};

// XCR0: which register states the operating system has enabled. Read by instruction, so that
// it works alike on Linux, Windows and macOS and with either compiler.
std::uint64_t enabledRegisterStates() {
    std::uint32_t low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (std::uint64_t{high} << 32) | low;
}

// The one CPU check: cpuid for the instructions, XCR0 for the registers.
WideVectorSupport wideVectorSupport() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX))
        return {};
    const std::uint64_t states = enabledRegisterStates();
    const bool ymmSaved = (states & 0x06) == 0x06; // SSE and AVX state
    const bool zmmSaved = (states & 0xE6) == 0xE6; // and the opmask and upper ZMM states
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return {};
    const unsigned avx512Set = bit_AVX512F | bit_AVX512DQ | bit_AVX512BW | bit_AVX512VL;
    return {ymmSaved && (b & bit_AVX2) != 0, zmmSaved && (b & avx512Set) == avx512Set};
}

} // namespace

std::vector<KernelVariant> vectorKernels() {
    const WideVectorSupport support = wideVectorSupport();
    std::vector<KernelVariant> kernels;
    if (support.avx512)
        kernels.push_back({"avx512", runSamples_avx512});
    if (support.avx2)
        kernels.push_back({"avx2", runSamples_avx2});
    kernels.push_back({"sse2", runSamples_sse2});
    return kernels;
}

} // namespace correlatore
