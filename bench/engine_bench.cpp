// Speed of the correlator engine, as ratios against a baseline measured in the same run: a straight
// single-threaded implementation with std::mt19937 and std::uniform_real_distribution<float>.
// Reports ns per sample of the kernel for each instruction set this processor has, and whole runs
// of 241 steps at Nm 20000 and 200000.

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

namespace {

// The classic program ported line by line: one generator, reseeded every step, fifteen draws per
// sample, the integrator, P.
double baselineRun(int nm, int beta, std::uint32_t seed) {
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

// Seconds per sample (per step and sample: a kernel's sixteen lanes are sixteen samples).
void perSample(benchmark::State& state, double samples) {
    state.counters["per_sample"] =
        benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Baseline(benchmark::State& state) {
    const int nm = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(baselineRun(nm, 100, 1));
    perSample(state, static_cast<double>(state.iterations()) * simulationStepCount * (nm + 1));
}

void BM_Run(benchmark::State& state) {
    const int nm = static_cast<int>(state.range(0));
    SimulationOptions options{{100, nm}, 1, 0, {}};
    for (auto _ : state)
        simulate(options, [](const StepResult& step) { benchmark::DoNotOptimize(step.p); });
    perSample(state, static_cast<double>(state.iterations()) * simulationStepCount * (nm + 1));
}

void BM_Kernel(benchmark::State& state, SampleKernel kernel) {
    constexpr long samples = 4096;
    BlockState block;
    startBlock(block, 1, 0, 100);
    for (auto _ : state) {
        kernel(block, samples);
        benchmark::DoNotOptimize(block.acc[0]);
    }
    perSample(state, static_cast<double>(state.iterations()) * samples * blockLanes);
}

// Prints as usual, and then each whole run's speed-up over the baseline at the same Nm (from the
// medians, when the benchmarks are repeated).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_seconds[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const char* nm : {"20000", "200000"}) {
            const auto base = m_seconds.find(std::string("BM_Baseline/") + nm);
            const auto fast = m_seconds.find(std::string("BM_Run/") + nm);
            if (base != m_seconds.end() && fast != m_seconds.end())
                std::printf("speed-up over the baseline at Nm %s: %.1fx\n", nm,
                            base->second / fast->second);
        }
    }

private:
    std::map<std::string, double> m_seconds;
};

} // namespace

BENCHMARK(BM_Baseline)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Run)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    for (const KernelVariant& kernel : availableKernels())
        benchmark::RegisterBenchmark(("BM_Kernel/" + std::string(kernel.isa)).c_str(), BM_Kernel,
                                     kernel.run);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
