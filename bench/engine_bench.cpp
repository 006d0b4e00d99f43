// Speed of the correlator engine, measured side by side with the engine as it was before its kernel
// interleaved generator chains (the baseline, kept in this folder), so that the ratios come from
// one run on one machine. Reports whole runs of 241 steps at Nm 20000 and 200000 on 2 threads, the
// kernels' time per step and sample for each instruction set this processor has, and a straight
// single-threaded port with std::mt19937 for scale. The same runs and kernels with the analogue
// correlator beside the clipped one (BM_*Analogue) are reported as a multiple of the plain ones,
// which is what asking for it costs. The ratios at the end are taken from medians
// when the benchmarks are repeated (--benchmark_repetitions=N); on a shared machine add
// --benchmark_enable_random_interleaving=true so that both sides see the same load.

#include "baseline_kernel.h"
#include "correlator.h"
#include "correlator_kernel.h"
#include "correlator_sample.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>

using namespace correlatore;
using namespace correlatore::baseline;

namespace {

constexpr unsigned runThreads = 2;
constexpr int benchBeta = 100;
constexpr std::uint64_t benchSeed = 1;

// The classic program ported line by line: one generator, reseeded every step, fifteen draws per
// sample, the integrator, P.
double classicPortRun(int nm, int beta, std::uint32_t seed) {
    std::mt19937 generator;
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    double checksum = 0.0;
    for (int i = 0; i < simulationStepCount; ++i) {
        generator.seed(seed + static_cast<std::uint32_t>(i));
        const double amplitude = std::pow(10.0, siNiOfStep(i) / 20.0);
        double acc = 0.0;
        float r[15];
        for (int k = 0; k <= nm; ++k) {
            for (float& draw : r)
                draw = uniform(generator);
            acc = integrate(acc, coincidence(r, amplitude), beta);
        }
        checksum += acc / beta;
    }
    return checksum;
}

// Seconds per sample (per step and sample: a kernel's lanes are that many samples).
void perSample(benchmark::State& state, double samples) {
    state.counters["per_sample"] =
        benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

double wholeRunSamples(benchmark::State& state, int nm) {
    return static_cast<double>(state.iterations()) * simulationStepCount * (nm + 1);
}

void BM_ClassicPort(benchmark::State& state) {
    const int nm = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(classicPortRun(nm, benchBeta, 1));
    perSample(state, wholeRunSamples(state, nm));
}

void BM_RunCurrent(benchmark::State& state, bool analogue) {
    const int nm = static_cast<int>(state.range(0));
    SimulationOptions options{{benchBeta, nm}, benchSeed, runThreads, {}};
    options.analogue = analogue;
    for (auto _ : state)
        simulate(options, [](const StepResult& step) { benchmark::DoNotOptimize(step.p); });
    perSample(state, wholeRunSamples(state, nm));
}

void BM_RunBaseline(benchmark::State& state, BaselineKernel kernel) {
    const int nm = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(baselineRun(kernel, benchSeed, benchBeta, nm, runThreads));
    perSample(state, wholeRunSamples(state, nm));
}

constexpr long kernelSamples = 4096;

void BM_KernelCurrent(benchmark::State& state, SampleKernel kernel, bool analogue) {
    BlockState block;
    startBlock(block, benchSeed, 0, benchBeta, analogue);
    for (auto _ : state) {
        kernel(block, kernelSamples);
        benchmark::DoNotOptimize(block.acc[0]);
    }
    perSample(state, static_cast<double>(state.iterations()) * kernelSamples * blockLanes);
}

void BM_KernelBaseline(benchmark::State& state, BaselineKernel kernel) {
    BaselineBlock block;
    startBaselineBlock(block, benchSeed, 0, benchBeta);
    for (auto _ : state) {
        kernel(block, kernelSamples);
        benchmark::DoNotOptimize(block.acc[0]);
    }
    perSample(state, static_cast<double>(state.iterations()) * kernelSamples * baselineLanes);
}

// Prints as usual, and then each current figure as a fraction of its baseline (from the medians,
// when the benchmarks are repeated): whole runs by the clock on the wall, which is what a user
// waits, and kernels per step and sample in the processor time of their one thread, which the
// machine's other load disturbs less.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                const std::string& name = run.run_name.function_name;
                m_seconds[name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    name.starts_with("BM_Kernel") ? run.counters.at("per_sample").value
                                                  : run.GetAdjustedRealTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [name, seconds] : m_seconds) {
            const auto at = name.find("Current");
            if (at == std::string::npos)
                continue;
            const auto base = m_seconds.find(name.substr(0, at) + "Baseline" + name.substr(at + 7));
            if (base != m_seconds.end())
                std::printf("%s: %.3f of the baseline (%.2fx as fast)\n", name.c_str(),
                            seconds / base->second, base->second / seconds);
        }
        for (const auto& [name, seconds] : m_seconds) {
            const auto at = name.find("Analogue");
            if (at == std::string::npos)
                continue;
            const std::string plain = name.substr(0, at) + "Current" + name.substr(at + 8);
            const auto base = m_seconds.find(plain);
            if (base != m_seconds.end())
                std::printf("%s: %.3f times %s\n", name.c_str(), seconds / base->second,
                            plain.c_str());
        }
    }

private:
    std::map<std::string, double> m_seconds;
};

const BaselineVariant* baselineFor(std::string_view isa) {
    for (const BaselineVariant& variant : baselineKernels())
        if (variant.isa == isa)
            return &variant;
    return nullptr;
}

// The best baseline variant this processor can run: the first whose instruction set the engine
// also offers here.
BaselineKernel bestBaseline() {
    for (const KernelVariant& kernel : availableKernels())
        if (const BaselineVariant* variant = baselineFor(kernel.isa))
            return variant->run;
    return baselineKernels().back().run;
}

// The comparison means nothing unless both engines compute the same numbers.
bool sameResults() {
    std::vector<double> current;
    simulate({{benchBeta, 2000}, benchSeed, runThreads, {}},
             [&](const StepResult& step) { current.push_back(step.p); });
    return current == baselineRun(bestBaseline(), benchSeed, benchBeta, 2000, runThreads);
}

void registerBenchmarks() {
    for (const bool analogue : {false, true})
        benchmark::RegisterBenchmark(analogue ? "BM_RunAnalogue" : "BM_RunCurrent", BM_RunCurrent,
                                     analogue)
            ->Arg(20000)
            ->Arg(200000)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("BM_RunBaseline", BM_RunBaseline, bestBaseline())
        ->Arg(20000)
        ->Arg(200000)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (const KernelVariant& kernel : availableKernels()) {
        const std::string isa(kernel.isa);
        benchmark::RegisterBenchmark(("BM_KernelCurrent/" + isa).c_str(), BM_KernelCurrent,
                                     kernel.run, false);
        benchmark::RegisterBenchmark(("BM_KernelAnalogue/" + isa).c_str(), BM_KernelCurrent,
                                     kernel.run, true);
        if (const BaselineVariant* variant = baselineFor(kernel.isa))
            benchmark::RegisterBenchmark(("BM_KernelBaseline/" + isa).c_str(), BM_KernelBaseline,
                                         variant->run);
    }
    benchmark::RegisterBenchmark("BM_ClassicPort", BM_ClassicPort)
        ->Arg(20000)
        ->Arg(200000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

} // namespace

int main(int argc, char** argv) {
    if (!sameResults()) {
        std::fprintf(stderr, "the engine and its baseline disagree: the comparison is void\n");
        return 1;
    }
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
