#include "commands.h"

#include "chart_frame.h"
#include "chart_geometry.h"
#include "correlator.h"
#include "csv.h"
#include "curves.h"
#include "output_file.h"
#include "render_loader.h"
#include "run_seed.h"
#include "run_time_error.h"
#include "theory.h"

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <unistd.h>

namespace correlatore {

namespace {

void reportError(const std::string& message) {
    std::fprintf(stderr, "correlatore-cli: %s\n", message.c_str());
}

// Runs a command's body: 0 when it ends, 1 with a message on stderr when it fails.
int exitStatusOf(const std::function<void()>& body) {
    try {
        body();
        return 0;
    } catch (const RunTimeError& error) {
        reportError(std::string("run-time error: ") + error.what());
    } catch (const std::runtime_error& error) {
        reportError(error.what());
    }
    return 1;
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
                     "########################################", width - filled, "", done, m_total);
    }

private:
    int m_total;
    bool m_enabled;
};

} // namespace

int runTheory(const TheoryCommand& command) {
    return exitStatusOf([&] {
        OutputFile output(command.out);
        std::fputs("s,crt,x,y\n", output.stream());
        sweepTheory([&](const TheoryPoint& point) {
            writeRow(output.stream(), point.s, point.crt, chart::xOfSiNi(point.s),
                     chart::yOfCoefficient(point.crt));
        });
        output.commit();
    });
}

namespace {

// Runs a simulation as the command asks, with a progress bar; the seed comes from the clock, and is
// told on stderr, unless one was given.
void runSimulation(const SimulateCommand& command,
                   const std::function<void(const StepResult&)>& onStep) {
    SimulationOptions options;
    options.parameters = command.parameters;
    options.seed = command.seed ? *command.seed : seedFromClock();
    options.threads = command.threads;
    if (!command.seed)
        std::fprintf(stderr, "seed: %llu\n", static_cast<unsigned long long>(options.seed));
    ProgressBar progress(simulationStepCount);
    simulate(options, [&](const StepResult& step) {
        onStep(step);
        progress.show(step.index + 1);
    });
}

} // namespace

int runSimulate(const SimulateCommand& command) {
    return exitStatusOf([&] {
        OutputFile output(command.out);
        // Today's four columns first, unchanged, so that existing readers keep working; then the
        // coefficient that the chart plots and the theory's value at the same Si/Ni.
        std::fputs("s,p,px,py,c,crt\n", output.stream());
        runSimulation(command, [&](const StepResult& step) {
            writeRow(output.stream(), step.s, step.p, chart::xOfSiNi(step.s),
                     chart::yOfCoincidence(step.p), 2.0 * step.p - 1.0,
                     theoreticalCorrelation(step.s));
        });
        output.commit();
    });
}

namespace {

void appendBytes(const char* data, std::size_t size, void* file) {
    std::fwrite(data, 1, size, static_cast<std::FILE*>(file));
}

} // namespace

// The chart as the window draws it: the frame, then the circles of a run ("Crsp = f(Si/Ni)", which
// clears the chart first), then the theoretical curve on top ("Crt = f(Si/Ni)").
int runRender(const RenderCommand& command) {
    return exitStatusOf([&] {
        const auto render = loadRenderModule();
        OutputFile output(command.out); // before the run: a bad path fails at once
        DrawingSurface surface;
        drawChartFrame(surface);
        if (command.simulate)
            runSimulation(command.simulation, [&](const StepResult& step) {
                drawSimulatedPoint(surface, step.s, step.p);
            });
        if (command.theory)
            drawTheoreticalCurve(surface);
        const DisplayList& ops = surface.ops();
        if (render(ops.data(), ops.size(), command.kind == PictureKind::Png ? 0 : 1, command.scale,
                   appendBytes, output.stream()) != 0)
            throw std::runtime_error("cannot encode the picture " + command.out);
        output.commit();
    });
}

} // namespace correlatore
