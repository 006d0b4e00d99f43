// The web edition's engine, compiled to WebAssembly: Form1's logic as the desktop window has it,
// driven by the page, with its drawing in pixels; and a share of a simulation run for each of the
// page's workers. The page makes one instance for the form, and each worker one for its shares.
#include "axis_numbers.h"
#include "chart_description.h"
#include "correlator.h"
#include "correlator_kernel.h"
#include "decimal_number.h"
#include "form_controller.h"
#include "pixel_picture.h"
#include "theory.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace correlatore;
using emscripten::val;

constexpr std::uint64_t largestSeed = std::numeric_limits<std::uint64_t>::max();

// A fault of the page itself, outside the event procedures (a script error, a worker that failed),
// reported as the desktop reports an internal error.
constexpr int pageFault = 51;

// Seeds travel as decimal text: a JavaScript number cannot hold every 64-bit value.
std::uint64_t seedOf(const std::string& text) {
    return readDecimal(text, 0, largestSeed).value_or(0);
}

// The page's side of the form: what only the browser can do, asked of the page's object.
class PagePlatform : public FormPlatform {
public:
    explicit PagePlatform(val page)
        : m_page(std::move(page)) {}

    ListTexts listTexts() const override {
        const val texts = m_page.call<val>("listTexts");
        return {texts["combo1"].as<std::string>(), texts["combo2"].as<std::string>()};
    }
    void setTitleCaption(const std::string& caption) override {
        m_page.call<void>("setTitleCaption", caption);
    }
    void startRun(const SimulationOptions& run) override {
        m_page.call<void>("startRun", run.parameters.beta, run.parameters.nm,
                          std::to_string(run.seed));
    }
    void endRun() override { m_page.call<void>("endRun"); }
    void reportRunTimeError(const RunTimeError& error) override {
        m_page.call<void>("reportRunTimeError", error.code(), std::string(error.what()));
    }
    void requestRepaint() override { m_page.call<void>("requestRepaint"); }
    void setChartDescription(const std::string& description) override {
        m_page.call<void>("setChartDescription", description);
    }

    std::uint64_t newSeed() const { return seedOf(m_page.call<std::string>("newSeed")); }

private:
    val m_page;
};

// Form1 in the page: the form over the page's elements, its drawing as the canvas's pixels.
class PageForm {
public:
    PageForm(val page, int width, int height)
        : m_platform(std::move(page))
        , m_picture(width, height) {
        m_form.setSeedSource([this] { return m_platform.newSeed(); });
    }

    void paint() { m_form.paint(); }
    void click(Button button) { m_form.click(button); }
    void stepDone(int index, double p) { m_form.stepDone({index, siNiOfStep(index), p}); }
    void fail(const std::string& what) { m_form.runTimeError(RunTimeError(pageFault, what)); }
    // False, and nothing changes, when `text` is not a whole number from 0 to 2^64 - 1.
    bool setFixedSeed(const std::string& text) {
        const auto seed = readDecimal(text, 0, largestSeed);
        if (seed)
            m_form.setFixedSeed(*seed);
        return seed.has_value();
    }

    // The drawing's pixels, RGBA row by row: a view into the module's memory that the next call
    // into the module may move: copy it at once.
    val picture() {
        m_picture.draw(m_form.surface().ops());
        const std::vector<std::uint8_t>& rgba = m_picture.rgba();
        return val(emscripten::typed_memory_view(rgba.size(), rgba.data()));
    }

    // The chart in words, for the page's accessibility tree.
    std::string chartDescription() const { return m_form.chartDescription(); }

    val status() const {
        val status = val::object();
        status.set("busy", m_form.isRunning());
        status.set("queued", m_form.waitingClicks());
        status.set("failed", m_form.hasFailed());
        status.set("runs", m_form.finishedRuns());
        return status;
    }

    // The last finished run's Beta, Nm, seed and 241 P values; null before the first.
    val lastRun() const {
        if (!m_form.lastRun())
            return val::null();
        const FinishedRun& run = *m_form.lastRun();
        val p = val::array();
        for (const double value : run.p)
            p.call<void>("push", value);
        val result = val::object();
        result.set("beta", run.parameters.beta);
        result.set("nm", run.parameters.nm);
        result.set("seed", std::to_string(run.seed));
        result.set("p", p);
        return result;
    }

private:
    PagePlatform m_platform;
    FormController m_form{m_platform};
    PixelPicture m_picture;
};

// The lefts of Label3's three numbers, given their widths in the page's font.
val axisNumberPlaces(int minusSixty, int zero, int plusSixty) {
    const std::array<int, 3> lefts = axisNumberLefts({minusSixty, zero, plusSixty});
    val result = val::array();
    for (const int left : lefts)
        result.call<void>("push", left);
    return result;
}

// A worker's share of one run; `onStep(index, p)` gets each of its steps as soon as it is known.
void simulateShare(int beta, int nm, const std::string& seed, int share, int shares, val onStep) {
    SimulationOptions options;
    options.parameters = {static_cast<std::int16_t>(beta), nm};
    options.seed = seedOf(seed);
    options.threads = 1;
    options.share = share;
    options.shares = shares;
    simulate(options, [&onStep](const StepResult& step) { onStep(step.index, step.p); });
}

// More shares than blocks of steps leave workers without work.
int mostShares() {
    return (simulationStepCount + blockLanes - 1) / blockLanes;
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

std::string kernelName() {
    return std::string(availableKernels().front().isa);
}

} // namespace

EMSCRIPTEN_BINDINGS(correlatore_engine) {
    emscripten::enum_<Button>("Button")
        .value("Command1", Button::Command1)
        .value("Command2", Button::Command2)
        .value("Command3", Button::Command3);
    emscripten::class_<PageForm>("Form")
        .constructor<val, int, int>()
        .function("paint", &PageForm::paint)
        .function("click", &PageForm::click)
        .function("stepDone", &PageForm::stepDone)
        .function("fail", &PageForm::fail)
        .function("setFixedSeed", &PageForm::setFixedSeed)
        .function("picture", &PageForm::picture)
        .function("chartDescription", &PageForm::chartDescription)
        .function("status", &PageForm::status)
        .function("lastRun", &PageForm::lastRun);
    emscripten::function("axisNumberPlaces", &axisNumberPlaces);
    emscripten::function("chartName", &chartAccessibleName);
    emscripten::function("simulateShare", &simulateShare);
    emscripten::function("mostShares", &mostShares);
    emscripten::function("theoryPoints", &theoryPoints);
    emscripten::function("kernelName", &kernelName);
}
