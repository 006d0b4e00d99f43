#include "commands.h"
#include "run_parameters.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <string>

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
            return "must be one of " + listed(items) + ", not '" + value + "'";
        },
        "{" + listed(items) + "}");
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "correlatore-cli: %s (see 'correlatore-cli --help')\n", message.c_str());
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
        return "unknown option '" + first + "' before the command; the commands are " + names;
    return "unknown command '" + first + "'; the commands are " + names;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app("Theory and Monte Carlo simulation of a polarity-coincidence correlator.",
                 "correlatore-cli");
    app.set_version_flag("--version", std::string(CORRELATORE_VERSION));
    app.require_subcommand(1);

    TheoryCommand theory;
    CLI::App* theoryCommand = app.add_subcommand(
        "theory", "The theoretical curve as CSV: s,crt,x,y, one row per point in drawing order");
    theoryCommand->add_option("--out", theory.out, "Write to FILE instead of standard output")
        ->type_name("FILE");

    SimulateCommand simulate;
    std::string beta = "100", nm = "20000";
    CLI::App* simulateCommand = app.add_subcommand(
        "simulate", "A simulation run as CSV: s,p,px,py, one row per Si/Ni step");
    simulateCommand->add_option("--beta", beta, "Integrator constant in samples")
        ->check(oneOf(betaItems))
        ->capture_default_str();
    simulateCommand->add_option("--nm", nm, "Samples per step, less one")
        ->check(oneOf(nmItems))
        ->capture_default_str();
    simulateCommand->add_option("--seed", simulate.seed,
                                "Run seed; without it one is taken from the clock and printed");
    simulateCommand->add_option("--threads", simulate.threads, "Threads to use (default: one per core)")
        ->check(CLI::Range(1u, 256u));
    simulateCommand->add_option("--out", simulate.out, "Write to FILE instead of standard output")
        ->type_name("FILE");

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {
        return app.exit(success);
    } catch (const CLI::Error& error) {
        if (app.get_subcommands().empty())
            return usageError(subcommandMessage(app, argc, argv));
        return usageError(error.what());
    }

    if (*theoryCommand)
        return runTheory(theory);
    simulate.parameters = readRunParameters(beta, nm);
    return runSimulate(simulate);
}
