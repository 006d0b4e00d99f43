// Speed of what a run is compared with: the model's exact agreement probability at the 241 steps
// (Gauss-Legendre on every polynomial piece, computed afresh; the goal is under 10 ms), the
// expected curves for a run's Beta and Nm, and a whole run's analysis with its chi-square tails.

#include "agreement_probability.h"
#include "expectation.h"
#include "run_analysis.h"

#include <benchmark/benchmark.h>

using namespace correlatore;

namespace {

void BM_StepAgreement(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(computeStepAgreement());
}
BENCHMARK(BM_StepAgreement)->Unit(benchmark::kMillisecond);

void BM_ExpectedCurves(benchmark::State& state) {
    stepAgreement(); // the part computed once for the process
    for (auto _ : state)
        benchmark::DoNotOptimize(expectedCurves({6400, 200000}));
}
BENCHMARK(BM_ExpectedCurves)->Unit(benchmark::kMicrosecond);

void BM_AnalyseRun(benchmark::State& state) {
    std::array<double, simulationStepCount> p;
    const ExpectedCurves curves = expectedCurves({800, 200000});
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = (1.0 + curves.model[i].c + curves.model[i].sd * static_cast<double>(i % 3)) / 2.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(analyseRun({800, 200000}, p));
}
BENCHMARK(BM_AnalyseRun)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
