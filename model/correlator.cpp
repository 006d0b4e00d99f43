#include "correlator.h"

#include "correlator_kernel.h"

#include <algorithm>
#include <array>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

namespace correlatore {

namespace {

// Joins on destruction, as std::jthread does, which not every standard library has yet (the web
// edition's does not).
class JoiningThread {
public:
    template <typename Work>
    explicit JoiningThread(Work work)
        : m_thread(std::move(work)) {}
    JoiningThread(JoiningThread&&) noexcept = default;
    JoiningThread& operator=(JoiningThread&&) = delete;
    JoiningThread(const JoiningThread&) = delete;
    JoiningThread& operator=(const JoiningThread&) = delete;
    ~JoiningThread() {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};

constexpr int blockCount = (simulationStepCount + blockLanes - 1) / blockLanes;

// Hands the finished steps on in step order: a block that ends early waits for the ones before it.
class InOrderDelivery {
public:
    explicit InOrderDelivery(const std::function<void(const StepResult&)>& onStep)
        : m_onStep(onStep) {}

    void blockDone(int block, const double* p) {
        std::lock_guard lock(m_mutex);
        const int first = block * blockLanes;
        const int count = std::min(blockLanes, simulationStepCount - first);
        std::copy(p, p + count, m_p.begin() + first);
        m_done[static_cast<std::size_t>(block)] = true;
        while (m_nextBlock < blockCount && m_done[static_cast<std::size_t>(m_nextBlock)]) {
            const int from = m_nextBlock * blockLanes;
            const int to = std::min(from + blockLanes, simulationStepCount);
            for (int i = from; i < to; ++i)
                m_onStep({i, siNiOfStep(i), m_p[static_cast<std::size_t>(i)]});
            ++m_nextBlock;
        }
    }

private:
    const std::function<void(const StepResult&)>& m_onStep;
    std::mutex m_mutex;
    std::array<double, simulationStepCount> m_p{};
    std::array<bool, blockCount> m_done{};
    int m_nextBlock = 0;
};

// Samples are taken in chunks between looks at the cancel flag: a chunk of a 16-step block takes
// well under a millisecond.
constexpr long samplesBetweenCancelChecks = 4096;

template <typename StopRequested>
bool runBlock(SampleKernel kernel, const SimulationOptions& options, int block,
              const StopRequested& stopRequested, double* p) {
    BlockState state;
    startBlock(state, options.seed, block * blockLanes, options.parameters.beta);
    const long samples = long{options.parameters.nm} + 1;
    for (long done = 0; done < samples; done += samplesBetweenCancelChecks) {
        if (stopRequested())
            return false;
        kernel(state, std::min(samplesBetweenCancelChecks, samples - done));
    }
    for (int lane = 0; lane < blockLanes; ++lane)
        p[lane] = state.acc[lane] / state.beta;
    return true;
}

} // namespace

bool simulate(const SimulationOptions& options,
              const std::function<void(const StepResult&)>& onStep,
              const std::atomic<bool>* cancel) {
    const SampleKernel kernel = kernelFor(options.isa);
    if (!kernel)
        throw std::invalid_argument("no kernel for instruction set " + options.isa);
    const unsigned threads =
        std::clamp(options.threads ? options.threads : std::thread::hardware_concurrency(), 1u,
                   static_cast<unsigned>(blockCount));

    InOrderDelivery delivery(onStep);
    std::atomic<int> nextBlock{0};
    std::atomic<bool> stopped{false};
    std::mutex failureMutex;
    std::exception_ptr failure; // the first exception from onStep, rethrown on the caller's thread
    const auto stopRequested = [&] {
        return stopped.load(std::memory_order_relaxed) ||
               (cancel && cancel->load(std::memory_order_relaxed));
    };
    auto work = [&] {
        try {
            for (int block; (block = nextBlock.fetch_add(1)) < blockCount;) {
                double p[blockLanes];
                if (!runBlock(kernel, options, block, stopRequested, p))
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
    std::vector<JoiningThread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    helpers.clear();
    if (failure)
        std::rethrow_exception(failure);
    return !stopRequested();
}

} // namespace correlatore
