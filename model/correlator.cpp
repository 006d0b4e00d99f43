#include "correlator.h"

#include "correlator_kernel.h"

#include <algorithm>
#include <array>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace correlatore {

namespace {

// How the steps are cut into blocks: whole blocks, or half blocks when there are more threads than
// whole blocks, so that every thread has work (a half block overlaps fewer generators).
struct Split {
    int steps; // in a block; the last one may hold fewer
    int count;
};

constexpr Split splitInto(int steps) {
    return {steps, (simulationStepCount + steps - 1) / steps};
}

Split splitFor(unsigned threads) {
    const Split whole = splitInto(blockLanes);
    return threads > static_cast<unsigned>(whole.count) ? splitInto(blockLanes / 2) : whole;
}

constexpr int mostBlocks = splitInto(blockLanes / 2).count;

// Hands the finished steps on in step order: a block that ends early waits for the ones before it.
// Once the receiver has thrown, nothing more is handed on, from this thread or any other.
class InOrderDelivery {
public:
    InOrderDelivery(const std::function<void(const StepResult&)>& onStep, Split split)
        : m_onStep(onStep)
        , m_split(split)
        , m_done(static_cast<std::size_t>(split.count)) {}

    void blockDone(int block, const double* p) {
        std::lock_guard lock(m_mutex);
        if (m_receiverFailed)
            return;
        const int first = block * m_split.steps;
        const int count = std::min(m_split.steps, simulationStepCount - first);
        std::copy(p, p + count, m_p.begin() + first);
        m_done[static_cast<std::size_t>(block)] = true;
        while (m_nextStep < simulationStepCount &&
               m_done[static_cast<std::size_t>(m_nextStep / m_split.steps)]) {
            const int step = m_nextStep++; // counted before the call: never handed on twice
            try {
                m_onStep({step, siNiOfStep(step), m_p[static_cast<std::size_t>(step)]});
            } catch (...) {
                m_receiverFailed = true;
                throw;
            }
        }
    }

private:
    const std::function<void(const StepResult&)>& m_onStep;
    const Split m_split;
    std::mutex m_mutex;
    std::array<double, simulationStepCount> m_p{};
    std::vector<char> m_done;
    int m_nextStep = 0;
    bool m_receiverFailed = false;
};

// Samples are taken in chunks between looks at the cancel flag: a chunk of a block takes well
// under a millisecond.
constexpr long samplesBetweenCancelChecks = 4096;

template <typename StopRequested>
bool runBlock(SampleKernel kernel, const SimulationOptions& options, Split split, int block,
              const StopRequested& stopRequested, double* p) {
    BlockState state;
    const int first = block * split.steps;
    startBlock(state, options.seed, first, options.parameters.beta);
    state.lanes = std::min(split.steps, simulationStepCount - first);
    const long samples = long{options.parameters.nm} + 1;
    for (long done = 0; done < samples; done += samplesBetweenCancelChecks) {
        if (stopRequested())
            return false;
        kernel(state, std::min(samplesBetweenCancelChecks, samples - done));
    }
    for (int lane = 0; lane < state.lanes; ++lane)
        p[lane] = state.acc[lane] / state.beta;
    return true;
}

// Up to `count` helper threads running `work`, as many as the system gives: the run does not
// depend on them, since every thread takes blocks until none are left. Joined on destruction.
class Helpers {
public:
    Helpers(unsigned count, const std::function<void()>& work, const ThreadStarter& startThread) {
        try {
            m_threads.reserve(count);
            for (unsigned i = 0; i < count; ++i)
                m_threads.push_back(startThread ? startThread(work) : std::thread(work));
        } catch (...) {
            // No thread to give (std::system_error), or no memory for one: the run goes on with
            // those started, which are joined like any other.
        }
    }
    ~Helpers() {
        for (std::thread& thread : m_threads)
            if (thread.joinable())
                thread.join();
    }
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;

private:
    std::vector<std::thread> m_threads;
};

} // namespace

bool simulate(const SimulationOptions& options,
              const std::function<void(const StepResult&)>& onStep,
              const std::atomic<bool>* cancel) {
    return simulate(options, onStep, cancel, {});
}

bool simulate(const SimulationOptions& options,
              const std::function<void(const StepResult&)>& onStep, const std::atomic<bool>* cancel,
              const ThreadStarter& startThread) {
    const SampleKernel kernel = kernelFor(options.isa);
    if (!kernel)
        throw std::invalid_argument("no kernel for instruction set " + options.isa);
    const unsigned threads =
        std::clamp(options.threads ? options.threads : std::thread::hardware_concurrency(), 1u,
                   static_cast<unsigned>(mostBlocks));
    const Split split = splitFor(threads);

    InOrderDelivery delivery(onStep, split);
    std::atomic<int> nextBlock{0};
    std::atomic<bool> stopped{false};
    std::mutex failureMutex;
    std::exception_ptr failure; // the first exception from onStep, rethrown on the caller's thread
    const auto stopRequested = [&] {
        return stopped.load(std::memory_order_relaxed) ||
               (cancel && cancel->load(std::memory_order_relaxed));
    };
    const std::function<void()> work = [&] {
        try {
            for (int block; (block = nextBlock.fetch_add(1)) < split.count;) {
                double p[blockLanes];
                if (!runBlock(kernel, options, split, block, stopRequested, p))
                    return;
                delivery.blockDone(block, p);
            }
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure)
                failure = std::current_exception();
            stopped = true;
        }
    };
    {
        const Helpers helpers(threads - 1, work, startThread);
        work();
    }
    if (failure)
        std::rethrow_exception(failure);
    return !stopRequested();
}

} // namespace correlatore
