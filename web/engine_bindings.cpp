// The web edition's engine, compiled to WebAssembly: Form1's logic as the desktop window has it,
// driven by the page, with its drawing in pixels; and a share of a simulation run for each of the
// page's workers. The page makes one instance for the form, and each worker one for its shares.
#include "analogue_comparison.h"
#include "axis_numbers.h"
#include "chart_description.h"
#include "chart_menu.h"
#include "correlator.h"
#include "correlator_kernel.h"
#include "decimal_number.h"
#include "drawing_measures.h"
#include "form_controller.h"
#include "pixel_picture.h"
#include "png_text.h"
#include "theory.h"

#include <cstdio>
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

// What the page's pictures and workbooks name as the program that made them.
const std::string program = "correlatore " CORRELATORE_VERSION " (pagina web)";

// A copy of bytes in the module's memory, as a Uint8Array of the page's own.
val bytesOf(const std::string& bytes) {
    return val(emscripten::typed_memory_view(bytes.size(),
                                             reinterpret_cast<const std::uint8_t*>(bytes.data())))
        .call<val>("slice");
}

std::string hexColour(ColorRef colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

// A figure for a canvas: its size, its drawing's pixels (RGBA, by the desktop renderer's rules)
// and its texts, for the browser to write in its own font.
val figureOf(const Figure& figure) {
    PixelPicture pixels(figure.width, figure.height);
    pixels.draw(figure.ops);
    val texts = val::array();
    for (const ChartText& text : figure.texts) {
        val item = val::object();
        item.set("x", static_cast<double>(text.x) / twipsPerPixel);
        item.set("y", static_cast<double>(text.y) / twipsPerPixel);
        item.set("colour", hexColour(text.colour));
        item.set("align", text.anchor == TextAnchor::Left     ? "left"
                          : text.anchor == TextAnchor::Centre ? "center"
                                                              : "right");
        item.set("text", text.text);
        texts.call<void>("push", item);
    }
    val result = val::object();
    result.set("width", figure.width);
    result.set("height", figure.height);
    const std::vector<std::uint8_t>& rgba = pixels.rgba();
    result.set("rgba",
               val(emscripten::typed_memory_view(rgba.size(), rgba.data())).call<val>("slice"));
    result.set("texts", texts);
    return result;
}

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

    // The chart's context menu: each entry's text and whether it is enabled now.
    val chartMenu() const {
        val entries = val::array();
        for (const ChartMenuEntry& entry : correlatore::chartMenu(m_form)) {
            val item = val::object();
            item.set("text", std::string(entry.text));
            item.set("enabled", entry.enabled);
            entries.call<void>("push", item);
        }
        return entries;
    }

    // The browser's PNG of the chart, with what made it written into the file; and a name for it.
    val pictureFile(const val& png) const {
        const std::vector<std::uint8_t> bytes =
            emscripten::convertJSArrayToNumberVector<std::uint8_t>(png);
        const PictureDescription description = describePicture(shownContent(m_form, program));
        std::vector<std::pair<std::string, std::string>> fields = {
            {"Title", description.title}, {"Description", description.description}};
        fields.insert(fields.end(), description.fields.begin(), description.fields.end());
        return bytesOf(withPngText(std::string(bytes.begin(), bytes.end()), fields));
    }
    std::string pictureFileStem() const {
        const PictureContent shown = shownContent(m_form, program);
        return shown.run ? runFileStem(*m_form.lastRun()) : "correlatore";
    }

    // The last run's data as CSV: as the command line writes it, or with ";" between the fields
    // and decimal commas, for a spreadsheet in a language that writes decimals so. Empty before
    // the first run.
    std::string data(bool decimalComma) const {
        if (!m_form.lastRun())
            return {};
        return runCsv(*m_form.lastRun(), decimalComma ? decimalCommaCsv : CsvStyle{});
    }
    std::string dataFileStem() const {
        return m_form.lastRun() ? runFileStem(*m_form.lastRun()) : "correlatore";
    }

    // The last run's analysis: facts, the fit in words and numbers, the residual chart; null
    // before the first run.
    val report() const {
        if (!m_form.lastRun())
            return val::null();
        const RunReport report = runReport(*m_form.lastRun());
        val facts = val::array();
        for (const auto& [name, value] : report.facts) {
            val fact = val::array();
            fact.call<void>("push", name);
            fact.call<void>("push", value);
            facts.call<void>("push", fact);
        }
        val result = val::object();
        result.set("facts", facts);
        result.set("verdict", report.verdict);
        result.set("numbers", report.numbers);
        result.set("residuals", figureOf(report.residuals));
        return result;
    }

    // The last run again with the analogue correlator beside the clipped one, on this thread:
    // the fit and the efficiency in numbers, and the chart of both; null before the first run.
    val analogueComparison() const {
        if (!m_form.lastRun())
            return val::null();
        const AnalogueComparison comparison = compareWithAnalogue(*m_form.lastRun());
        val result = val::object();
        result.set("numbers", comparison.numbers);
        result.set("chart", figureOf(comparison.chart));
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
        .function("lastRun", &PageForm::lastRun)
        .function("chartMenu", &PageForm::chartMenu)
        .function("pictureFile", &PageForm::pictureFile)
        .function("pictureFileStem", &PageForm::pictureFileStem)
        .function("data", &PageForm::data)
        .function("dataFileStem", &PageForm::dataFileStem)
        .function("report", &PageForm::report)
        .function("analogueComparison", &PageForm::analogueComparison);
    emscripten::function("axisNumberPlaces", &axisNumberPlaces);
    emscripten::function("chartName", &chartAccessibleName);
    emscripten::function("simulateShare", &simulateShare);
    emscripten::function("mostShares", &mostShares);
    emscripten::function("theoryPoints", &theoryPoints);
    emscripten::function("kernelName", &kernelName);
}
