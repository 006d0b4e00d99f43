// The window program's own arguments: a seed that is not a whole number accepted, Qt's options
// taken for ours, a bad seed found only after looking for a display, a usage message split or
// made to act on the terminal by what it echoes, a seeded session whose runs do not all use the
// seed.

#include "run_program.h"
#include "window_arguments.h"
#include "window_fixture.h"

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

TEST(WindowArguments, SeedIsAWholeNumberAndEverythingElseIsLeftToQt) {
    const struct {
        const char* name;
        std::vector<const char*> argv;
        std::optional<std::uint64_t> seed;
        std::optional<int> exitStatus;
    } cases[] = {
        {"no arguments", {"correlatore"}, std::nullopt, std::nullopt},
        {"--seed N", {"correlatore", "--seed", "42"}, 42, std::nullopt},
        {"--seed=N", {"correlatore", "--seed=0"}, 0, std::nullopt},
        {"the largest seed",
         {"correlatore", "--seed", "18446744073709551615"},
         18446744073709551615u,
         std::nullopt},
        {"Qt's own option",
         {"correlatore", "-platform", "offscreen", "--seed", "5"},
         5,
         std::nullopt},
        {"too large", {"correlatore", "--seed", "18446744073709551616"}, std::nullopt, 2},
        {"negative", {"correlatore", "--seed", "-1"}, std::nullopt, 2},
        {"not a number", {"correlatore", "--seed", "abc"}, std::nullopt, 2},
        {"trailing text", {"correlatore", "--seed=12x"}, std::nullopt, 2},
        {"no value", {"correlatore", "--seed"}, std::nullopt, 2},
        {"help", {"correlatore", "--help"}, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowArguments arguments =
            readWindowArguments(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(arguments.seed, c.seed);
        EXPECT_EQ(arguments.exitStatus, c.exitStatus);
        if (c.exitStatus == 2) {
            EXPECT_NE(arguments.message.find("--seed"), std::string::npos);
        }
    }
}

// Without a display, so that a usage error is found before one is looked for. What the message
// echoes is quoted, with whatever a terminal would act on written as an escape.
TEST(WindowProgram, UsageErrorsComeFirstInOneInertLine) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        const char* shows;
    } cases[] = {
        {"a seed that is not a number", {"--seed", "abc"}, "'abc'"},
        {"a seed that would clear the terminal", {"--seed=1\n\x1b[2J"}, "'1\\n\\e[2J'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramResult result = runProgram(CORRELATORE_APP_PATH, c.arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.shows), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << result.err;
    }
}
