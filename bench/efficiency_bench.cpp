// What clipping costs, measured: over many seeds, each correlator's output signal-to-noise ratio at
// a step (the clipped one's (mean C - E[C] with no signal) / sd C, the analogue one's mean r / sd
// r, across the seeds) and their ratio, beside the exact efficiency eta(s). At low Si/Ni eta is
// 0.598 for this program's five-uniform inputs and would be 2/pi = 0.637 for Gaussian ones; telling
// the two apart takes thousands of runs, so this is a demonstration, not a test. Counters: the
// exact and the measured eta averaged over the steps from -20 to -6 dB, and their ratio with its
// standard error from the spread of the steps. Run it with --benchmark_filter=/2000 for the
// README's figures.

#include "analogue_expectation.h"
#include "correlator.h"
#include "expectation.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

using namespace correlatore;

namespace {

constexpr RunParameters parameters{800, 20000};
constexpr int firstStep = 80; // -20 dB
constexpr int lastStep = 108; // -6 dB
constexpr int steps = lastStep - firstStep + 1;

struct Moments {
    double sum = 0.0, sumOfSquares = 0.0;
    void add(double x) {
        sum += x;
        sumOfSquares += x * x;
    }
    double mean(double n) const { return sum / n; }
    double sd(double n) const { return std::sqrt((sumOfSquares - sum * sum / n) / (n - 1.0)); }
};

void BM_MeasuredEfficiency(benchmark::State& state) {
    const auto seeds = static_cast<std::uint64_t>(state.range(0));
    const double noSignal = expectationOf(0.5, settlingOf(parameters)).c;
    const AnalogueCurves exact = analogueCurves(parameters);
    for (auto _ : state) {
        std::vector<Moments> clipped(steps), analogue(steps);
        for (std::uint64_t seed = 1; seed <= seeds; ++seed) {
            SimulationOptions options{parameters, seed, 0, {}};
            options.analogue = true;
            simulate(options, [&](const StepResult& step) {
                if (step.index < firstStep || step.index > lastStep)
                    return;
                clipped[static_cast<std::size_t>(step.index - firstStep)].add(2.0 * step.p - 1.0);
                analogue[static_cast<std::size_t>(step.index - firstStep)].add(step.r);
            });
        }
        const auto n = static_cast<double>(seeds);
        Moments ratios;
        double exactSum = 0.0, measuredSum = 0.0;
        for (std::size_t i = 0; i < static_cast<std::size_t>(steps); ++i) {
            const double measured = ((clipped[i].mean(n) - noSignal) / clipped[i].sd(n)) /
                                    (analogue[i].mean(n) / analogue[i].sd(n));
            const double expected = exact.efficiency[i + firstStep];
            exactSum += expected;
            measuredSum += measured;
            ratios.add(measured / expected);
        }
        state.counters["eta_exact"] = exactSum / steps;
        state.counters["eta_measured"] = measuredSum / steps;
        state.counters["measured_over_exact"] = ratios.mean(steps);
        state.counters["its_standard_error"] = ratios.sd(steps) / std::sqrt(double{steps});
    }
}

} // namespace

BENCHMARK(BM_MeasuredEfficiency)->Arg(8)->Arg(2000)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
