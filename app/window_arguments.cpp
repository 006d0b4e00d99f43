#include "window_arguments.h"

#include "decimal_number.h"

#include <limits>
#include <string_view>

namespace correlatore {

namespace {

constexpr const char* usage =
    "Usage: correlatore [--seed N]\n"
    "Opens the correlation simulator's window.\n"
    "  --seed N   every simulation run of this session uses seed N (0 to 18446744073709551615),\n"
    "             so that it repeats a run told by \"seed: N\" or made by correlatore-cli;\n"
    "             without it each run takes a new seed from the clock\n"
    "  --help     this text\n";

WindowArguments endWith(int status, std::string message) {
    WindowArguments arguments;
    arguments.exitStatus = status;
    arguments.message = std::move(message);
    return arguments;
}

} // namespace

WindowArguments readWindowArguments(int argc, const char* const* argv) {
    WindowArguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h")
            return endWith(0, usage);
        std::optional<std::string_view> value;
        if (argument == "--seed") {
            if (i + 1 == argc)
                return endWith(2,
                               "correlatore: --seed needs a number (see 'correlatore --help')\n");
            value = argv[++i];
        } else if (argument.starts_with("--seed=")) {
            value = argument.substr(7);
        }
        if (!value)
            continue;
        constexpr std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();
        arguments.seed = readDecimal(*value, 0, largest);
        if (!arguments.seed)
            return endWith(2, "correlatore: --seed " + decimalRangeMessage(*value, 0, largest) +
                                  " (see 'correlatore --help')\n");
    }
    return arguments;
}

} // namespace correlatore
