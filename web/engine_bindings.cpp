// The web edition's engine, compiled to WebAssembly: the window's retained drawing surface with the
// chart frame and the curves, the run parameters read from the lists' texts, and a simulation run.
// The page makes one instance for its chart, its worker another for the runs.
#include "chart_frame.h"
#include "correlator.h"
#include "correlator_kernel.h"
#include "curves.h"
#include "decimal_number.h"
#include "run_parameters.h"
#include "run_seed.h"
#include "theory.h"

#include <cstddef>
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace correlatore;
using emscripten::val;

// The page's chart: one display list, kept until the next Cls, as in the window.
class Chart {
public:
    void cls() { m_surface.Cls(); }
    void drawFrame() { drawChartFrame(m_surface); }
    void drawTheory() { drawTheoreticalCurve(m_surface); }
    void drawStep(double s, double p) { drawSimulatedPoint(m_surface, s, p); }
    void dropHiddenRepeats() { m_surface.dropHiddenRepeats(); }

    // The recorded operations' bytes, a view into the module's memory that the next call into
    // the module may move: read it at once.
    val ops() const {
        const DisplayList& ops = m_surface.ops();
        return val(emscripten::typed_memory_view(
            ops.size() * sizeof(DrawOp), reinterpret_cast<const unsigned char*>(ops.data())));
    }

private:
    DrawingSurface m_surface;
};

// Where the fields of one recorded operation lie, so that the page's renderer reads the same
// struct the C++ code writes.
val opLayout() {
    val layout = val::object();
    layout.set("size", sizeof(DrawOp));
    layout.set("kind", offsetof(DrawOp, kind));
    layout.set("x1", offsetof(DrawOp, x1));
    layout.set("y1", offsetof(DrawOp, y1));
    layout.set("x2", offsetof(DrawOp, x2));
    layout.set("y2", offsetof(DrawOp, y2));
    layout.set("colour", offsetof(DrawOp, colour));
    layout.set("point", static_cast<int>(DrawOp::Kind::Point));
    layout.set("line", static_cast<int>(DrawOp::Kind::Line));
    layout.set("circle", static_cast<int>(DrawOp::Kind::Circle));
    return layout;
}

val runParameters(const std::string& combo1Text, const std::string& combo2Text) {
    const RunParameters parameters = readRunParameters(combo1Text, combo2Text);
    val result = val::object();
    result.set("beta", parameters.beta);
    result.set("nm", parameters.nm);
    return result;
}

// Seeds travel as decimal text: a JavaScript number cannot hold every 64-bit value.
std::string seedFromText(const std::string& text) {
    const auto seed = readDecimal(text, 0, std::numeric_limits<std::uint64_t>::max());
    return seed ? std::to_string(*seed) : std::string();
}

std::string clockSeed() {
    return std::to_string(seedFromClock());
}

// The 1200 points of the theoretical curve as s, Crt pairs, for comparison with the desktop's.
val theoryPoints() {
    std::vector<double> values;
    sweepTheory([&values](const TheoryPoint& point) {
        values.push_back(point.s);
        values.push_back(point.crt);
    });
    val array = val::global("Float64Array").new_(values.size());
    array.call<void>("set", val(emscripten::typed_memory_view(values.size(), values.data())));
    return array;
}

// One run on the worker's thread; `onStep(index, s, p)` gets each step as soon as it is known.
bool simulateRun(int beta, int nm, const std::string& seedText, val onStep) {
    SimulationOptions options;
    options.parameters = {static_cast<std::int16_t>(beta), nm};
    options.seed = readDecimal(seedText, 0, std::numeric_limits<std::uint64_t>::max()).value_or(0);
    options.threads = 1;
    return simulate(options,
                    [&onStep](const StepResult& step) { onStep(step.index, step.s, step.p); });
}

std::string kernelName() {
    return std::string(availableKernels().front().isa);
}

} // namespace

EMSCRIPTEN_BINDINGS(correlatore_engine) {
    emscripten::class_<Chart>("Chart")
        .constructor<>()
        .function("cls", &Chart::cls)
        .function("drawFrame", &Chart::drawFrame)
        .function("drawTheory", &Chart::drawTheory)
        .function("drawStep", &Chart::drawStep)
        .function("dropHiddenRepeats", &Chart::dropHiddenRepeats)
        .function("ops", &Chart::ops);
    emscripten::function("opLayout", &opLayout);
    emscripten::function("runParameters", &runParameters);
    emscripten::function("seedFromText", &seedFromText);
    emscripten::function("clockSeed", &clockSeed);
    emscripten::function("theoryPoints", &theoryPoints);
    emscripten::function("simulateRun", &simulateRun);
    emscripten::function("kernelName", &kernelName);
}
