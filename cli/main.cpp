#include "commands.h"
#include "decimal_number.h"
#include "expect_command.h"
#include "quoted_text.h"
#include "run_parameters.h"
#include "signal_cleanup.h"
#include "standard_streams.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

namespace {

using namespace correlatore;

// "100, 200, ..." for messages.
template <typename Items> std::string listed(const Items& items) {
    std::string text;
    for (const auto& item : items)
        text += (text.empty() ? "" : ", ") + std::string(item);
    return text;
}

// A validator that accepts only a list's items, with a message that names them.
template <typename Items> CLI::Validator oneOf(const Items& items) {
    return CLI::Validator(
        [items](std::string& value) -> std::string {
            if (std::find(items.begin(), items.end(), value) != items.end())
                return {};
            return "must be one of " + listed(items) + ", not " + quotedText(value);
        },
        "{" + listed(items) + "}");
}

// Numbers as people write them (see readDecimal); the text is rewritten as its plain value, so
// that CLI11 never reads "010" as octal or clamps what does not fit.
CLI::Validator decimalIn(std::uint64_t least, std::uint64_t most) {
    return CLI::Validator(
        [least, most](std::string& value) -> std::string {
            const auto number = readDecimal(value, least, most);
            if (!number)
                return decimalRangeMessage(value, least, most);
            value = std::to_string(*number);
            return {};
        },
        std::to_string(least) + ".." + std::to_string(most));
}

CLI::Validator namesAFile() {
    return CLI::Validator(
        [](std::string& path) -> std::string {
            return path.empty() ? "must name a file, or - for standard output" : "";
        },
        "");
}

// The texts of --beta and --nm, checked against the window's list items.
struct SimulationTexts {
    std::string beta = "100";
    std::string nm = "20000";
};

std::vector<CLI::Option*> addRunParameterOptions(CLI::App& command, SimulationTexts& texts) {
    return {
        command.add_option("--beta", texts.beta, "Integrator constant in samples")
            ->check(oneOf(betaItems))
            ->capture_default_str(),
        command.add_option("--nm", texts.nm, "Samples per step, less one")
            ->check(oneOf(nmItems))
            ->capture_default_str(),
    };
}

// Returns the options, so that `render` can tie them to --simulate.
std::vector<CLI::Option*> addSimulationOptions(CLI::App& command, SimulateCommand& simulate,
                                               SimulationTexts& texts) {
    std::vector<CLI::Option*> options = addRunParameterOptions(command, texts);
    options.push_back(
        command
            .add_option("--seed", simulate.seed,
                        "Run seed; without it one is taken from the clock and printed")
            ->transform(decimalIn(0, std::numeric_limits<std::uint64_t>::max())));
    options.push_back(
        command.add_option("--threads", simulate.threads, "Threads to use (default: one per core)")
            ->transform(decimalIn(1, 256)));
    return options;
}

// --out for the commands that write a table.
void addTableOutput(CLI::App& command, std::string& out) {
    command
        .add_option("--out", out,
                    "Write to FILE instead of standard output (-); a name ending in .xlsx gets a "
                    "workbook")
        ->type_name("FILE|-")
        ->check(namesAFile());
}

bool hasSuffix(const std::string& path, std::string_view suffix) {
    if (path.size() < suffix.size())
        return false;
    return std::equal(
        suffix.begin(), suffix.end(), path.end() - static_cast<long>(suffix.size()),
        [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

CLI::Validator pictureSuffix() {
    return CLI::Validator(
        [](std::string& path) -> std::string {
            if (hasSuffix(path, ".png") || hasSuffix(path, ".svg"))
                return {};
            return "must end in .png or .svg, not " + quotedText(path);
        },
        "FILE.png|FILE.svg");
}

// --help and --version are this program's output too: one that cannot be written is a failure.
int standardOutputStatus() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "correlatore-cli: cannot write to standard output: %s\n",
                 std::strerror(errno ? errno : EIO));
    return 1;
}

// CLI11's own messages echo arguments as they came: a newline or an escape sequence in one must
// neither split the line nor reach the terminal.
int usageError(const std::string& message) {
    std::fprintf(stderr, "correlatore-cli: %s (see 'correlatore-cli --help')\n",
                 inertLine(message).c_str());
    return 2;
}

// CLI11 says only that a subcommand is required; say which word was not one, and which are.
std::string subcommandMessage(const CLI::App& app, int argc, char** argv) {
    std::string names;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        names += (names.empty() ? "" : ", ") + sub->get_name();
    if (argc < 2)
        return "a command is required: " + names;
    const std::string first = argv[1];
    if (first.starts_with('-'))
        return "unknown option " + quotedText(first) + " before the command; the commands are " +
               names;
    return "unknown command " + quotedText(first) + "; the commands are " + names;
}

int runCommandLine(int argc, char** argv) {
    CLI::App app("Theory and Monte Carlo simulation of a polarity-coincidence correlator.",
                 "correlatore-cli");
    app.set_version_flag("--version", "correlatore-cli " + std::string(CORRELATORE_VERSION));
    app.require_subcommand(1);

    TheoryCommand theory;
    CLI::App* theoryCommand = app.add_subcommand(
        "theory", "The theoretical curve as CSV: s,crt,x,y, one row per point in drawing order");
    addTableOutput(*theoryCommand, theory.out);

    SimulateCommand simulate;
    SimulationTexts simulateTexts;
    CLI::App* simulateCommand = app.add_subcommand(
        "simulate", "A simulation run as CSV: s,p,px,py,c,crt,c_model,sd,z,rho_hat,snr_db_hat, "
                    "one row per Si/Ni step; its fit on stderr");
    addSimulationOptions(*simulateCommand, simulate, simulateTexts);
    simulateCommand->add_flag("--analogue", simulate.analogue,
                              "Run the analogue (multiplying) correlator beside the clipped one, "
                              "from the same draws, and add r,r_model,r_sd,eta");
    addTableOutput(*simulateCommand, simulate.out);

    ExpectCommand expect;
    SimulationTexts expectTexts;
    CLI::App* expectCommand = app.add_subcommand(
        "expect",
        "What a run is expected to show, without one, as CSV: s,c_model,sd,c_arcsine,crt");
    addRunParameterOptions(*expectCommand, expectTexts);
    expectCommand->add_flag("--analogue", expect.analogue,
                            "Add the analogue correlator's expectation and the efficiency: "
                            "r_model,r_sd,eta");
    addTableOutput(*expectCommand, expect.out);

    RenderCommand render;
    SimulationTexts renderTexts;
    CLI::App* renderCommand = app.add_subcommand(
        "render",
        "The chart and its labels as a picture, exactly as the window shows them (PNG or SVG)");
    renderCommand->add_option("--out", render.out, "The picture file, ending in .png or .svg")
        ->type_name("FILE")
        ->required()
        ->check(pictureSuffix());
    CLI::Option* theoryFlag = renderCommand->add_flag("--theory", render.theory,
                                                      "Draw the theoretical curve (red points)");
    CLI::Option* simulateFlag = renderCommand->add_flag("--simulate", render.simulate,
                                                        "Draw a simulation run (blue circles)");
    bool wholeWindow = false;
    bool bareChart = false;
    CLI::Option* windowFlag = renderCommand->add_flag(
        "--window", wholeWindow,
        "Draw the whole window (title, legends, buttons, lists, formula), not just the chart");
    CLI::Option* bareFlag =
        renderCommand
            ->add_flag("--bare", bareChart, "Draw the chart alone, without the window's labels")
            ->excludes(windowFlag);
    CLI::Option* bandFlag = renderCommand->add_flag(
        "--band", render.band,
        "Draw under the circles the model's expected curve and its +-2 sd band, with a legend");
    CLI::Option* analogueFlag = renderCommand->add_flag(
        "--analogue", render.simulation.analogue,
        "Draw beside the circles the analogue correlator's estimates r from the same samples, "
        "and their expected curve, in orange, with a legend");
    renderCommand
        ->add_flag("--residuals", render.residuals,
                   "Draw the run's residuals z against Si/Ni instead of the chart, with its fit")
        ->needs(simulateFlag)
        ->excludes(windowFlag)
        ->excludes(bareFlag)
        ->excludes(theoryFlag)
        ->excludes(bandFlag)
        ->excludes(analogueFlag);
    analogueFlag->needs(simulateFlag);
    const std::vector<CLI::Option*> simulationOptions =
        addSimulationOptions(*renderCommand, render.simulation, renderTexts);
    // --seed and --threads are for a run; --beta and --nm for a run or a band.
    for (std::size_t i = 2; i < simulationOptions.size(); ++i)
        simulationOptions[i]->needs(simulateFlag);
    CLI::Option* scaleOption =
        renderCommand->add_option("--scale", render.scale, "Device pixels a window pixel, for PNG")
            ->transform(decimalIn(1, 8))
            ->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {
        errno = 0; // the reason a write fails, if one does
        app.exit(success);
        return standardOutputStatus();
    } catch (const CLI::Error& error) {
        if (app.get_subcommands().empty())
            return usageError(subcommandMessage(app, argc, argv));
        return usageError(error.what());
    }

    if (*theoryCommand)
        return runTheory(theory);
    if (*expectCommand) {
        expect.parameters = readRunParameters(expectTexts.beta, expectTexts.nm);
        return runExpect(expect);
    }
    if (*renderCommand) {
        render.simulation.parameters = readRunParameters(renderTexts.beta, renderTexts.nm);
        render.format = hasSuffix(render.out, ".svg") ? PictureFormat::Svg : PictureFormat::Png;
        render.layout = wholeWindow ? PictureLayout::WholeWindow
                        : bareChart ? PictureLayout::BareChart
                                    : PictureLayout::ChartWithLabels;
        if (render.format == PictureFormat::Svg && scaleOption->count() > 0)
            return usageError("--scale applies to a PNG picture only; an SVG has no pixels");
        for (const CLI::Option* option : {simulationOptions[0], simulationOptions[1]})
            if (option->count() > 0 && !render.simulate && !render.band)
                return usageError(option->get_name() + " needs --simulate or --band");
        return runRender(render);
    }
    simulate.parameters = readRunParameters(simulateTexts.beta, simulateTexts.nm);
    return runSimulate(simulate);
}

} // namespace

int main(int argc, char** argv) {
    openClosedStandardStreams();
    installSignalCleanup();
    // Memory can run out anywhere, in the parsing of the options too: one line and status 1, with
    // any output file left as it was, rather than an abort. The line needs no memory.
    try {
        return runCommandLine(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("correlatore-cli: out of memory\n", stderr);
        return 1;
    }
}
