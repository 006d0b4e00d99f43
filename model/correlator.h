#pragma once

#include "run_parameters.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace correlatore {

inline constexpr int simulationStepCount = 241;

// Si/Ni of step i: -60, -59.5, ... 60. Every value is a multiple of 0.5, so the accumulated counter
// of the classic loop and this product are the same doubles.
inline double siNiOfStep(int index) {
    return -60.0 + 0.5 * index;
}

struct StepResult {
    int index;
    double s; // Si/Ni in dB
    double p; // the integrator's final state over Beta: the coincidence estimate
    // The analogue correlator's estimate from the same samples, its integrator's final state over
    // Beta as for p, when the run was asked for it (SimulationOptions::analogue); NaN otherwise.
    double r = std::numeric_limits<double>::quiet_NaN();
};

struct SimulationOptions {
    RunParameters parameters = defaultRunParameters;
    std::uint64_t seed = 0;
    unsigned threads = 0; // 0: one per core
    std::string isa;      // empty: the best the processor has
    // This call's share of a run split over processes that share no memory (the page's workers):
    // the blocks of consecutive steps whose number, counted from 0, leaves `share` when divided by
    // `shares`. The steps of a share come out as in the whole run.
    int share = 0;
    int shares = 1;
    // Runs the analogue (multiplying) correlator beside the clipped one, from the same draws: the
    // clipped results are the same with it or without.
    bool analogue = false;
};

// Starts a helper thread running `work`, or throws as std::thread does when the system has no
// thread to give.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

// Runs the 241 steps, or the options' share of them, on `threads` threads (the caller's among
// them) and hands each result to `onStep` in step order, left to right, as soon as it and all
// steps before it are done. Calls to
// onStep never overlap, and no step is handed on twice. Returns false when `cancel` was set; an
// exception from onStep stops the run, no step is handed on after it, and it leaves simulate() on
// the caller's thread. A helper thread that cannot be started is done without: the run goes on
// with the threads it has, at least the caller's, and gives the same results.
bool simulate(const SimulationOptions& options,
              const std::function<void(const StepResult&)>& onStep,
              const std::atomic<bool>* cancel = nullptr);

// The same, with helper threads started by `startThread`: a test can make it fail.
bool simulate(const SimulationOptions& options,
              const std::function<void(const StepResult&)>& onStep, const std::atomic<bool>* cancel,
              const ThreadStarter& startThread);

} // namespace correlatore
