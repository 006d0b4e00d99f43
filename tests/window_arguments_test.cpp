// The window program's own arguments: a seed that is not a whole number accepted, Qt's options
// taken for ours, a bad seed found only after looking for a display, a usage message split or
// made to act on the terminal by what it echoes, a seeded session whose runs do not all use the
// seed.

#include "run_program.h"
#include "window_arguments.h"
#include "window_fixture.h"
#include "window_placement.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

using namespace correlatore;

TEST_F(WindowTest, EveryRunOfASeededSessionUsesItsSeed) {
    // What `correlatore --seed 31` does to its window.
    const char* argv[] = {"correlatore", "--seed", "31"};
    form.setSimulationSeed(*readWindowArguments(3, argv).seed);
    for (int run = 0; run < 2; ++run) {
        testing::internal::CaptureStderr();
        press("Command2");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "seed: 31\n") << "run " << run;
        waitForRunEnd();
    }
}

// What `correlatore -platform offscreen` does once Qt has started: the offscreen platform offers
// the X11 interface without an X connection, which must not be taken for one.
TEST(WindowProgram, ShowsItsWindowOnAPlatformOtherThanX11) {
    QWidget window;
    showMaximizedOrFillScreen(window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMaximized());
}

TEST(WindowArguments, SeedIsAWholeNumberQtsOptionsAreLeftToQtAndNothingElseIsTaken) {
    const struct {
        const char* name;
        std::vector<const char*> argv;
        std::optional<std::uint64_t> seed;
        std::optional<int> exitStatus;
        const char* mentions; // in the message
    } cases[] = {
        {"no arguments", {"correlatore"}, std::nullopt, std::nullopt, ""},
        {"--seed N", {"correlatore", "--seed", "42"}, 42, std::nullopt, ""},
        {"--seed=N", {"correlatore", "--seed=0"}, 0, std::nullopt, ""},
        {"the largest seed",
         {"correlatore", "--seed", "18446744073709551615"},
         18446744073709551615u,
         std::nullopt,
         ""},
        {"Qt's own option",
         {"correlatore", "-platform", "offscreen", "--seed", "5"},
         5,
         std::nullopt,
         ""},
        {"Qt's options in each form",
         {"correlatore", "--style", "fusion", "-style=fusion", "-reverse", "-session", "-x",
          "-qwindowtitle", "t", "--", "--seed", "7"},
         std::nullopt,
         2,
         "'--seed'"},
        {"too large", {"correlatore", "--seed", "18446744073709551616"}, std::nullopt, 2, "--seed"},
        {"negative", {"correlatore", "--seed", "-1"}, std::nullopt, 2, "--seed"},
        {"not a number", {"correlatore", "--seed", "abc"}, std::nullopt, 2, "--seed"},
        {"trailing text", {"correlatore", "--seed=12x"}, std::nullopt, 2, "--seed"},
        {"no value", {"correlatore", "--seed"}, std::nullopt, 2, "--seed"},
        {"a mistyped option", {"correlatore", "--sed", "5"}, std::nullopt, 2, "'--sed'"},
        {"ours with one dash", {"correlatore", "-seed", "5"}, std::nullopt, 2, "'-seed'"},
        {"Qt's option without its value", {"correlatore", "-style"}, std::nullopt, 2, "-style"},
        {"a file", {"correlatore", "run.csv"}, std::nullopt, 2, "'run.csv'"},
        {"help", {"correlatore", "--help"}, std::nullopt, 0, "--seed N"},
        {"version", {"correlatore", "--version"}, std::nullopt, 0, "correlatore "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowArguments arguments =
            readWindowArguments(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(arguments.seed, c.seed);
        EXPECT_EQ(arguments.exitStatus, c.exitStatus);
        EXPECT_NE(arguments.message.find(c.mentions), std::string::npos) << arguments.message;
    }
    // What the display check needs to know of Qt's options.
    const char* argv[] = {"correlatore", "--platform", "xcb", "-display", ":5"};
    const WindowArguments arguments = readWindowArguments(5, argv);
    EXPECT_EQ(arguments.platform, "xcb");
    EXPECT_EQ(arguments.display, ":5");
}

// Without a display, so that the arguments are shown to be read before one is looked for. A usage
// error is one line, and what it echoes is quoted, with whatever a terminal would act on written
// as an escape.
TEST(WindowProgram, ArgumentsAreAnsweredBeforeLookingForADisplay) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int exitStatus;
        const char* shows; // on stdout for 0, on stderr for 2
    } cases[] = {
        {"help", {"--help"}, 0, "Usage: correlatore [--seed N]"},
        {"version", {"--version"}, 0, "correlatore " CORRELATORE_VERSION "\n"},
        {"a mistyped option", {"--sed", "5"}, 2, "unknown option '--sed'"},
        {"a seed that is not a number", {"--seed", "abc"}, 2, "'abc'"},
        {"a seed that would clear the terminal", {"--seed=1\n\x1b[2J"}, 2, "'1\\n\\e[2J'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramResult result = runProgram(CORRELATORE_APP_PATH, c.arguments);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        if (c.exitStatus == 0) {
            EXPECT_NE(result.out.find(c.shows), std::string::npos) << result.out;
            EXPECT_EQ(result.err, "");
            continue;
        }
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.shows), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << result.err;
    }
}
