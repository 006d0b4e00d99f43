#include "commands.h"

#include "chart_geometry.h"
#include "correlator.h"
#include "csv.h"
#include "output_file.h"
#include "run_seed.h"
#include "run_time_error.h"
#include "theory.h"

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace correlatore {

namespace {

void reportError(const std::string& message) {
    std::fprintf(stderr, "correlatore-cli: %s\n", message.c_str());
}

// A one-line progress bar, redrawn in place; only on a terminal.
class ProgressBar {
public:
    explicit ProgressBar(int total)
        : m_total(total)
        , m_enabled(isatty(STDERR_FILENO) == 1) {}
    ~ProgressBar() {
        if (m_enabled)
            std::fputs("\r\033[K", stderr);
    }
    void show(int done) const {
        if (!m_enabled)
            return;
        constexpr int width = 40;
        const int filled = done * width / m_total;
        std::fprintf(stderr, "\r[%.*s%*s] %d/%d steps", filled,
                     "########################################", width - filled, "", done,
                     m_total);
    }

private:
    int m_total;
    bool m_enabled;
};

} // namespace

int runTheory(const TheoryCommand& command) {
    try {
        OutputFile output(command.out);
        std::fputs("s,crt,x,y\n", output.stream());
        sweepTheory([&](const TheoryPoint& point) {
            writeRow(output.stream(), point.s, point.crt, chart::xOfSiNi(point.s),
                     chart::yOfCoefficient(point.crt));
        });
        output.commit();
        return 0;
    } catch (const RunTimeError& error) {
        reportError(std::string("run-time error: ") + error.what());
    } catch (const std::runtime_error& error) {
        reportError(error.what());
    }
    return 1;
}

int runSimulate(const SimulateCommand& command) {
    try {
        OutputFile output(command.out);
        SimulationOptions options;
        options.parameters = command.parameters;
        options.seed = command.seed ? *command.seed : seedFromClock();
        options.threads = command.threads;
        if (!command.seed)
            std::fprintf(stderr, "seed: %llu\n", static_cast<unsigned long long>(options.seed));
        std::fputs("s,p,px,py\n", output.stream());
        ProgressBar progress(simulationStepCount);
        simulate(options, [&](const StepResult& step) {
            writeRow(output.stream(), step.s, step.p, chart::xOfSiNi(step.s),
                     chart::yOfCoincidence(step.p));
            progress.show(step.index + 1);
        });
        output.commit();
        return 0;
    } catch (const std::runtime_error& error) {
        reportError(error.what());
    }
    return 1;
}

} // namespace correlatore
