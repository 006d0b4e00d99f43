// The window program started where it cannot show a window. Guards against: Qt's abort (status
// 134, a core dump) instead of one line that says what to do, for a DISPLAY that is missing or
// names a display nobody answers on, local or over the network.

#include "run_program.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

struct StartCase {
    const char* name;
    const char* display;  // nullptr: not set
    const char* platform; // QT_QPA_PLATFORM, nullptr: not set
    const char* mentions;
};

// Display 987 is one no test machine runs.
const StartCase startCases[] = {
    {"no DISPLAY", nullptr, nullptr, "DISPLAY is not set"},
    {"an empty DISPLAY", "", nullptr, "DISPLAY is not set"},
    {"a local display without a server", ":987", nullptr, ":987 cannot be reached"},
    {"a local display and screen", ":987.0", nullptr, ":987.0 cannot be reached"},
    {"a display over the network", "localhost:987", nullptr, "localhost:987 cannot be reached"},
    {"an address over the network", "127.0.0.1:987.0", nullptr, "127.0.0.1:987.0"},
    {"X11 asked for by name", "localhost:987", "xcb", "localhost:987 cannot be reached"},
};

} // namespace

TEST(Startup, NoReachableDisplayGivesOneLineAndExitOne) {
    unsetenv("WAYLAND_DISPLAY");
    for (const StartCase& c : startCases) {
        SCOPED_TRACE(c.name);
        if (c.display)
            setenv("DISPLAY", c.display, 1);
        else
            unsetenv("DISPLAY");
        if (c.platform)
            setenv("QT_QPA_PLATFORM", c.platform, 1);
        else
            unsetenv("QT_QPA_PLATFORM");
        const ProgramResult result = runProgram(CORRELATORE_APP_PATH, {});
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.err.starts_with("correlatore: no display to open the window on ("))
            << result.err;
        EXPECT_NE(result.err.find(c.mentions), std::string::npos) << result.err;
    }
}
