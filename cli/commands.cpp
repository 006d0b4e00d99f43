#include "commands.h"

#include "chart_frame.h"
#include "chart_geometry.h"
#include "correlator.h"
#include "curves.h"
#include "drawing_measures.h"
#include "expect_command.h"
#include "list_texts.h"
#include "model_band.h"
#include "output_file.h"
#include "picture_description.h"
#include "quoted_text.h"
#include "render_loader.h"
#include "residual_chart.h"
#include "run_analysis.h"
#include "run_seed.h"
#include "run_table.h"
#include "run_table_rows.h"
#include "run_time_error.h"
#include "standard_streams.h"
#include "table_output.h"
#include "theory.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace correlatore {

namespace {

// One line, whatever a library's message holds.
void reportError(const std::string& message) {
    std::fprintf(stderr, "correlatore-cli: %s\n", inertLine(message).c_str());
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

// A one-line progress bar, redrawn in place; only on a terminal that the data does not go to, so
// that it never mixes with CSV rows.
class ProgressBar {
public:
    ProgressBar(int total, std::FILE* data)
        : m_total(total)
        , m_enabled(progressFitsBeside(data)) {}
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
        const auto table = openTable(output, command.out, "theory", {"s", "crt", "x", "y"});
        sweepTheory([&](const TheoryPoint& point) {
            table->addRow(
                {point.s, point.crt, chart::xOfSiNi(point.s), chart::yOfCoefficient(point.crt)});
        });
        table->finish(programDetails(commandLineProgram));
        output.commit();
    });
}

namespace {

// Runs a simulation as the command asks, with a progress bar; the seed comes from the clock, and is
// told on stderr, unless one was given. Returns the seed used.
std::uint64_t runSimulation(const SimulateCommand& command, std::FILE* data,
                            const std::function<void(const StepResult&)>& onStep) {
    SimulationOptions options;
    options.parameters = command.parameters;
    options.seed = command.seed ? *command.seed : seedFromClock();
    options.threads = command.threads;
    options.analogue = command.analogue;
    if (!command.seed)
        std::fprintf(stderr, "seed: %llu\n", static_cast<unsigned long long>(options.seed));
    ProgressBar progress(simulationStepCount, data);
    simulate(options, [&](const StepResult& step) {
        onStep(step);
        progress.show(step.index + 1);
    });
    return options.seed;
}

} // namespace

int runSimulate(const SimulateCommand& command) {
    return exitStatusOf([&] {
        OutputFile output(command.out);
        RunTable table(output, command);
        const std::uint64_t seed = runSimulation(
            command, output.stream(), [&](const StepResult& step) { table.addStep(step); });
        const RunAnalysis analysis = table.finish(seed);
        output.commit();
        std::fprintf(stderr, "%s\n", fitLine(analysis).c_str());
    });
}

int runExpect(const ExpectCommand& command) {
    return exitStatusOf([&] { writeExpectation(command); });
}

namespace {

void appendBytes(const char* data, std::size_t size, void* output) {
    static_cast<OutputFile*>(output)->write(data, size);
}

} // namespace

namespace {

// What the command draws: the chart as the window draws it, the frame, then the circles of a run
// ("Crsp = f(Si/Ni)", which clears the chart first), then the theoretical curve on top
// ("Crt = f(Si/Ni)"); the model's band under them all and its legend over them. The analogue
// estimates of the same run and their expected curve go under the circles, whose pixels stay the
// same. Or, instead, the run's residual chart.
struct RenderedDrawing {
    Figure figure{chartPixelWidth, chartPixelHeight, {}, {}};
    PictureContent content;
};

RenderedDrawing drawingFor(const RenderCommand& command, std::FILE* data) {
    RenderedDrawing drawing;
    PictureContent& content = drawing.content;
    content.program = commandLineProgram;
    content.run = command.simulate && !command.residuals;
    content.theory = command.theory;
    content.band = command.band;
    content.residuals = command.residuals;
    content.analogue = command.simulation.analogue;
    content.parameters = command.simulation.parameters;

    DrawingSurface surface;
    if (command.band)
        drawModelBand(surface, expectedCurves(content.parameters).model);
    drawChartFrame(surface);
    if (content.analogue)
        drawAnalogueCurve(surface, analogueCurves(content.parameters).expected);
    std::array<double, simulationStepCount> p{};
    std::array<double, simulationStepCount> r{};
    if (command.simulate) {
        content.seed = runSimulation(command.simulation, data, [&](const StepResult& step) {
            p[static_cast<std::size_t>(step.index)] = step.p;
            r[static_cast<std::size_t>(step.index)] = step.r;
        });
        // Every cross before every circle: the steps arrive in any order, and a cross would
        // otherwise cover part of a neighbouring circle drawn before it.
        if (content.analogue)
            for (int i = 0; i < simulationStepCount; ++i)
                drawAnalogueEstimate(surface, siNiOfStep(i), r[static_cast<std::size_t>(i)]);
        for (int i = 0; i < simulationStepCount; ++i)
            drawSimulatedPoint(surface, siNiOfStep(i), p[static_cast<std::size_t>(i)]);
    }
    if (command.residuals) {
        const RunAnalysis analysis = analyseRun(content.parameters, p);
        content.fit = fitLine(analysis);
        drawing.figure = residualChart(analysis, content.seed);
        return drawing;
    }
    if (command.theory)
        drawTheoreticalCurve(surface);
    if (command.band || content.analogue)
        drawChartLegend(surface, drawing.figure.texts,
                        {command.band, content.analogue, command.simulate, command.theory});
    drawing.figure.ops = surface.ops();
    return drawing;
}

} // namespace

int runRender(const RenderCommand& command) {
    return exitStatusOf([&] {
        const auto render = loadRenderModule();
        OutputFile output(command.out); // before the run: a bad path fails at once
        const RenderedDrawing drawing = drawingFor(command, output.stream());

        // The lists show what chose the run's Beta and Nm, as in the window after the run.
        const RunParameters& run = command.simulation.parameters;
        const ListTexts lists = command.simulate
                                    ? ListTexts{std::to_string(run.beta), std::to_string(run.nm)}
                                    : initialListTexts();
        const PictureDescription picture = describePicture(drawing.content);
        std::vector<const char*> fields;
        for (const auto& [key, value] : picture.fields) {
            fields.push_back(key.c_str());
            fields.push_back(value.c_str());
        }
        std::vector<PictureText> texts;
        for (const ChartText& text : drawing.figure.texts)
            texts.push_back({text.x, text.y, text.colour, text.anchor, text.text.c_str()});
        const Figure& figure = drawing.figure;
        const PictureRequest request{figure.ops.data(),
                                     figure.ops.size(),
                                     command.format,
                                     command.scale,
                                     command.residuals ? PictureLayout::Figure : command.layout,
                                     lists.combo1.c_str(),
                                     lists.combo2.c_str(),
                                     picture.title.c_str(),
                                     picture.description.c_str(),
                                     fields.data(),
                                     picture.fields.size(),
                                     texts.data(),
                                     texts.size(),
                                     figure.width,
                                     figure.height};
        switch (render(&request, appendBytes, &output)) {
        case PictureStatus::Made:
            break;
        case PictureStatus::NoWindow:
            throw std::runtime_error("this build has no window to draw; only --bare pictures");
        case PictureStatus::CannotEncode:
            throw std::runtime_error("cannot encode the picture " + quotedText(command.out));
        }
        output.commit();
    });
}

} // namespace correlatore
