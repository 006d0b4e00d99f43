#include "window_arguments.h"

#include "decimal_number.h"
#include "quoted_text.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace correlatore {

namespace {

constexpr const char* usage =
    "Usage: correlatore [--seed N] [Qt's options]\n"
    "Opens the correlation simulator's window.\n"
    "  --seed N   every simulation run of this session uses seed N (0 to 18446744073709551615),\n"
    "             so that it repeats a run told by \"seed: N\" or made by correlatore-cli;\n"
    "             without it each run takes a new seed from the clock\n"
    "  --help     this text\n"
    "  --version  the program's name and version\n"
    "Qt's own options, such as -platform NAME, -style NAME, -reverse or -display NAME,\n"
    "are passed on to Qt.\n";

// The options that QApplication and its X11 platform take out of the arguments, written with one
// dash or two. The first take a value as the next argument; the style sheet, the style and the
// debugger's settings can also follow "=".
constexpr std::string_view qtOptionsWithValue[] = {"platform",
                                                   "platformpluginpath",
                                                   "platformtheme",
                                                   "plugin",
                                                   "qwindowgeometry",
                                                   "qwindowtitle",
                                                   "qwindowicon",
                                                   "session",
                                                   "style",
                                                   "stylesheet",
                                                   "qmljsdebugger",
                                                   "display",
                                                   "name",
                                                   "geometry",
                                                   "title",
                                                   "icon",
                                                   "visual"};
constexpr std::string_view qtOptionsAfterEquals[] = {"style", "stylesheet", "qmljsdebugger"};
constexpr std::string_view qtFlags[] = {"reverse", "widgetcount", "testability", "nograb",
                                        "dograb"};

template <std::size_t N> bool isOneOf(std::string_view name, const std::string_view (&names)[N]) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

WindowArguments endWith(int status, std::string message) {
    WindowArguments arguments;
    arguments.exitStatus = status;
    arguments.message = std::move(message);
    return arguments;
}

WindowArguments usageError(const std::string& problem) {
    return endWith(2, "correlatore: " + problem + " (see 'correlatore --help')\n");
}

} // namespace

WindowArguments readWindowArguments(int argc, const char* const* argv) {
    WindowArguments arguments;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || !argument.starts_with('-') || argument == "-")
            return usageError("unexpected argument " + quotedText(argument) +
                              "; the window opens no file");
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h")
            return endWith(0, usage);
        if (argument == "--version")
            return endWith(0, "correlatore " CORRELATORE_VERSION "\n");
        std::optional<std::string_view> seed;
        if (argument == "--seed") {
            if (i + 1 == argc)
                return usageError("--seed needs a number");
            seed = argv[++i];
        } else if (argument.starts_with("--seed=")) {
            seed = argument.substr(7);
        }
        if (seed) {
            constexpr std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();
            arguments.seed = readDecimal(*seed, 0, largest);
            if (!arguments.seed)
                return usageError("--seed " + decimalRangeMessage(*seed, 0, largest));
            continue;
        }
        // Qt's option, as Qt reads it: "--style" is "-style".
        const std::string_view option = argument.substr(argument.starts_with("--") ? 2 : 1);
        const std::size_t equals = option.find('=');
        if (isOneOf(option, qtFlags) || (equals != std::string_view::npos &&
                                         isOneOf(option.substr(0, equals), qtOptionsAfterEquals)))
            continue;
        if (!isOneOf(option, qtOptionsWithValue))
            return usageError("unknown option " + quotedText(argument));
        if (i + 1 == argc)
            return usageError(std::string(argument) + " needs a value");
        const std::string_view value = argv[++i];
        if (option == "platform")
            arguments.platform = value;
        else if (option == "display")
            arguments.display = value;
    }
    return arguments;
}

} // namespace correlatore
