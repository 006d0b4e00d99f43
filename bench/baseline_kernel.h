#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The engine as it was before its kernel interleaved generator chains, kept as the benchmarks'
// baseline so that every speed-up is measured against it in the same run, on the same machine.
namespace correlatore::baseline {

inline constexpr int baselineLanes = 16;

struct BaselineBlock {
    std::uint32_t s0[baselineLanes], s1[baselineLanes], s2[baselineLanes], s3[baselineLanes];
    double amplitude[baselineLanes];
    double acc[baselineLanes];
    double beta;
};

using BaselineKernel = void (*)(BaselineBlock& state, long samples);

struct BaselineVariant {
    std::string_view isa; // named as the engine names its kernels
    BaselineKernel run;
};

// The variants built for this processor architecture, best first; the caller checks that the
// processor has the instruction set.
const std::vector<BaselineVariant>& baselineKernels();

void startBaselineBlock(BaselineBlock& state, std::uint64_t seed, int firstStep, int beta);

// A whole run as the engine did it: blocks of sixteen steps shared by `threads` threads. Returns
// each step's P.
std::vector<double> baselineRun(BaselineKernel kernel, std::uint64_t seed, int beta, int nm,
                                unsigned threads);

} // namespace correlatore::baseline
