#include "correlator.h"

#include "correlator_kernel.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
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

// A run split into shares keeps whole blocks, so that every share cuts the steps alike.
Split splitFor(unsigned threads, int shares) {
    const Split whole = splitInto(blockLanes);
    const bool halves = shares == 1 && threads > static_cast<unsigned>(whole.count);
    return halves ? splitInto(blockLanes / 2) : whole;
}

bool inShare(const SimulationOptions& options, int block) {
    return block % options.shares == options.share;
}

constexpr int mostBlocks = splitInto(blockLanes / 2).count;

// Hands the finished steps on in step order: steps that end early wait for the ones before them.
// Steps of other shares count as done and are not handed on. Once the receiver has thrown,
// nothing more is handed on, from this thread or any other.
class InOrderDelivery {
public:
    InOrderDelivery(const std::function<void(const StepResult&)>& onStep,
                    const SimulationOptions& options, Split split)
        : m_onStep(onStep) {
        for (int step = 0; step < simulationStepCount; ++step)
            m_mine[static_cast<std::size_t>(step)] = inShare(options, step / split.steps);
        m_done = m_mine;
        m_done.flip();
    }

    void stepsDone(int first, int count, const double* p, const double* r) {
        std::lock_guard lock(m_mutex);
        if (m_receiverFailed)
            return;
        std::copy(p, p + count, m_p.begin() + first);
        std::copy(r, r + count, m_r.begin() + first);
        for (int step = first; step < first + count; ++step)
            m_done[static_cast<std::size_t>(step)] = true;
        while (m_nextStep < simulationStepCount && m_done[static_cast<std::size_t>(m_nextStep)]) {
            const int step = m_nextStep++; // counted before the call: never handed on twice
            if (!m_mine[static_cast<std::size_t>(step)])
                continue;
            try {
                m_onStep({step, siNiOfStep(step), m_p[static_cast<std::size_t>(step)],
                          m_r[static_cast<std::size_t>(step)]});
            } catch (...) {
                m_receiverFailed = true;
                throw;
            }
        }
    }

private:
    const std::function<void(const StepResult&)>& m_onStep;
    std::mutex m_mutex;
    std::array<double, simulationStepCount> m_p{};
    std::array<double, simulationStepCount> m_r{};
    std::bitset<simulationStepCount> m_mine;
    std::bitset<simulationStepCount> m_done;
    int m_nextStep = 0;
    bool m_receiverFailed = false;
};

// Some consecutive steps in the lanes of a block, and the samples they have had so far.
struct Piece {
    BlockState state{};
    int firstStep = 0;
    long samplesDone = 0;
};

// Hands out the blocks, and lets a thread that has none left take over half of a block another
// thread is still running. A thread the system slows down, or the window's painting, then holds
// up no one: without it a run waits for whichever thread is last with a whole block.
class WorkSharing {
public:
    WorkSharing(const SimulationOptions& options, Split split)
        : m_options(options)
        , m_split(split)
        , m_nextBlock(options.share) {}

    // The next piece for this thread; false when there is no work left.
    bool take(Piece& piece) {
        std::unique_lock lock(m_mutex);
        if (m_nextBlock < m_split.count) {
            const int block = m_nextBlock;
            m_nextBlock += m_options.shares;
            ++m_busy;
            lock.unlock();
            piece = Piece{};
            piece.firstStep = block * m_split.steps;
            startBlock(piece.state, m_options.seed, piece.firstStep, m_options.parameters.beta,
                       m_options.analogue);
            piece.state.lanes = std::min(m_split.steps, simulationStepCount - piece.firstStep);
            return true;
        }
        m_waitingHint.store(++m_waiting, std::memory_order_relaxed);
        m_changed.wait(lock, [&] { return m_offer || m_busy == 0 || m_stopping; });
        m_waitingHint.store(--m_waiting, std::memory_order_relaxed);
        if (!m_offer || m_stopping)
            return false;
        piece = *m_offer;
        m_offer.reset();
        ++m_busy;
        return true;
    }

    // Between chunks: gives the upper half of `piece` to a thread waiting for work, if any.
    void share(Piece& piece) {
        if (m_waitingHint.load(std::memory_order_relaxed) == 0 || piece.state.lanes < 2)
            return;
        const std::lock_guard lock(m_mutex);
        if (m_waiting == 0 || m_offer || m_stopping)
            return;
        const int keep = (piece.state.lanes + 1) / 2;
        m_offer = upperLanes(piece, keep);
        piece.state.lanes = keep;
        m_changed.notify_one();
    }

    // This thread is done with its piece, finished or not.
    void pieceDone() {
        const std::lock_guard lock(m_mutex);
        if (--m_busy == 0)
            m_changed.notify_all();
    }

    void stop() {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_changed.notify_all();
    }

private:
    // Lanes keep .. lanes - 1 of `piece`, moved down to lane 0 of a piece of their own.
    static Piece upperLanes(const Piece& piece, int keep) {
        Piece upper;
        const BlockState& from = piece.state;
        BlockState& to = upper.state;
        to.lanes = from.lanes - keep;
        to.beta = from.beta;
        to.analogue = from.analogue;
        for (int lane = 0; lane < to.lanes; ++lane) {
            to.s0[lane] = from.s0[lane + keep];
            to.s1[lane] = from.s1[lane + keep];
            to.s2[lane] = from.s2[lane + keep];
            to.s3[lane] = from.s3[lane + keep];
            to.amplitude[lane] = from.amplitude[lane + keep];
            to.acc[lane] = from.acc[lane + keep];
            to.analogueAcc[lane] = from.analogueAcc[lane + keep];
            to.productWeight[lane] = from.productWeight[lane + keep];
        }
        upper.firstStep = piece.firstStep + keep;
        upper.samplesDone = piece.samplesDone;
        return upper;
    }

    const SimulationOptions& m_options;
    const Split m_split;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_nextBlock;
    int m_busy = 0;    // threads running a piece
    int m_waiting = 0; // threads waiting for one
    std::atomic<int> m_waitingHint{0};
    std::optional<Piece> m_offer;
    bool m_stopping = false;
};

// Samples are taken in chunks between looks at the cancel flag and at threads waiting for work:
// a chunk of a block takes well under a millisecond.
constexpr long samplesBetweenChecks = 4096;

// Runs `piece` to its last sample; false when the run was stopped first.
template <typename StopRequested>
bool runPiece(SampleKernel kernel, long samples, Piece& piece, WorkSharing& sharing,
              const StopRequested& stopRequested) {
    while (piece.samplesDone < samples) {
        if (stopRequested())
            return false;
        const long chunk = std::min(samplesBetweenChecks, samples - piece.samplesDone);
        kernel(piece.state, chunk);
        piece.samplesDone += chunk;
        if (samples - piece.samplesDone >= 2 * samplesBetweenChecks)
            sharing.share(piece);
    }
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
    if (options.shares < 1 || options.share < 0 || options.share >= options.shares)
        throw std::invalid_argument("share " + std::to_string(options.share) + " of " +
                                    std::to_string(options.shares));
    const Split split = splitFor(threads, options.shares);

    InOrderDelivery delivery(onStep, options, split);
    WorkSharing sharing(options, split);
    const long samples = long{options.parameters.nm} + 1;
    std::atomic<bool> stopped{false};
    std::mutex failureMutex;
    std::exception_ptr failure; // the first exception from onStep, rethrown on the caller's thread
    const auto stopRequested = [&] {
        return stopped.load(std::memory_order_relaxed) ||
               (cancel && cancel->load(std::memory_order_relaxed));
    };
    const std::function<void()> work = [&] {
        Piece piece;
        while (sharing.take(piece)) {
            try {
                if (!runPiece(kernel, samples, piece, sharing, stopRequested)) {
                    sharing.pieceDone();
                    return;
                }
                double p[blockLanes];
                double r[blockLanes];
                for (int lane = 0; lane < piece.state.lanes; ++lane) {
                    p[lane] = piece.state.acc[lane] / piece.state.beta;
                    r[lane] = options.analogue ? piece.state.analogueAcc[lane] / piece.state.beta
                                               : std::numeric_limits<double>::quiet_NaN();
                }
                delivery.stepsDone(piece.firstStep, piece.state.lanes, p, r);
            } catch (...) {
                {
                    const std::lock_guard lock(failureMutex);
                    if (!failure)
                        failure = std::current_exception();
                    stopped = true;
                }
                sharing.pieceDone();
                sharing.stop();
                return;
            }
            sharing.pieceDone();
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
