// The window program's start and end as a user meets them. Guards against: Qt's abort (status
// 134, a core dump) instead of one line that says what to do, for a DISPLAY that is missing or
// names a display nobody answers on, a stale WAYLAND_DISPLAY or a platform that cannot start, or
// for memory that runs out before the window shows; a plain start and close that does not exit 0
// (under the asan preset: a leak or a sanitizer report); and a window left at its restored size,
// showing no button, where no window manager acts on
// "maximized".

#include "run_program.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifdef CORRELATORE_XVFB
#include <xcb/xcb.h>
#endif

namespace {

struct StartCase {
    const char* name;
    const char* display;  // nullptr: not set
    const char* platform; // QT_QPA_PLATFORM, nullptr: not set
    const char* mentions;
    std::vector<std::string> arguments = {};
    const char* wayland = nullptr; // WAYLAND_DISPLAY, nullptr: not set
};

// What Qt says when it could start no platform: which one failed differs with the plugins that
// the machine has.
constexpr const char* noPlatform = "Qt could start no platform: ";

// Display 987 is one no test machine runs.
const StartCase startCases[] = {
    {"no DISPLAY", nullptr, nullptr, "DISPLAY is not set"},
    {"an empty DISPLAY", "", nullptr, "DISPLAY is not set"},
    {"a local display without a server", ":987", nullptr, "':987' cannot be reached"},
    {"a local display and screen", ":987.0", nullptr, "':987.0' cannot be reached"},
    {"a display over the network", "localhost:987", nullptr, "'localhost:987' cannot be reached"},
    {"an address over the network", "127.0.0.1:987.0", nullptr, "'127.0.0.1:987.0'"},
    {"X11 asked for by name", "localhost:987", "xcb", "'localhost:987' cannot be reached"},
    {"a name that would clear the terminal", ":987\x1b[2J\n", nullptr, "':987\\e[2J\\n'"},
    {"a display named on the command line",
     nullptr,
     nullptr,
     "':987' cannot be reached",
     {"-display", ":987"}},
    {"X11 named on the command line",
     nullptr,
     "offscreen",
     "DISPLAY is not set",
     {"--platform", "xcb"}},
    {"a stale WAYLAND_DISPLAY", nullptr, nullptr, noPlatform, {}, "wayland-987"},
    {"Wayland asked for", nullptr, "wayland", noPlatform, {}, "wayland-987"},
    {"Wayland, then X11", ":987", "wayland;xcb", noPlatform, {}, "wayland-987"},
    {"a platform that is not installed", nullptr, nullptr, "\"nosuch\"", {"-platform", "nosuch"}},
};

} // namespace

TEST(Startup, NoReachableDisplayGivesOneLineAndExitOne) {
    for (const StartCase& c : startCases) {
        SCOPED_TRACE(c.name);
        if (c.wayland)
            setenv("WAYLAND_DISPLAY", c.wayland, 1);
        else
            unsetenv("WAYLAND_DISPLAY");
        if (c.display)
            setenv("DISPLAY", c.display, 1);
        else
            unsetenv("DISPLAY");
        if (c.platform)
            setenv("QT_QPA_PLATFORM", c.platform, 1);
        else
            unsetenv("QT_QPA_PLATFORM");
        const ProgramResult result = runProgram(CORRELATORE_APP_PATH, c.arguments);
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.err.starts_with("correlatore: no display to open the window on ("))
            << result.err;
        EXPECT_NE(result.err.find(c.mentions), std::string::npos) << result.err;
    }
}

TEST(Startup, MemoryRunningOutBeforeTheWindowShowsGivesOneLineAndExitOne) {
    setenv("CORRELATORE_FAIL_ALLOCATIONS_AFTER", "0", 1);
    const ProgramResult result = runProgram(CORRELATORE_APP_FAILING_ALLOCATIONS_PATH, {});
    unsetenv("CORRELATORE_FAIL_ALLOCATIONS_AFTER");
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "correlatore: out of memory\n");
}

// ---- A plain start and close on a virtual display

#ifdef CORRELATORE_XVFB
namespace {

// A virtual X display of the test's own, on the first free number.
struct VirtualDisplay {
    VirtualDisplay() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            return;
        ProgramSetup setup;
        setup.outputDescriptor = ends[1];
        m_server = startProgram(
            CORRELATORE_XVFB,
            {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"}, setup);
        close(ends[1]);
        char number[16] = {};
        m_numberPipe = ends[0]; // open while the server runs: it may write there again
        if (read(ends[0], number, sizeof number - 1) > 0)
            name = std::to_string(std::atoi(number)).insert(0, 1, ':');
    }
    ~VirtualDisplay() {
        if (m_server.pid > 0)
            kill(m_server.pid, SIGTERM);
        waitForProgram(m_server);
        close(m_numberPipe);
    }
    std::string name; // empty when the server did not start

    // Makes this the display that programs started from now on open, and connects to it.
    xcb_connection_t* becomeTheDisplay() const {
        setenv("DISPLAY", name.c_str(), 1);
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("WAYLAND_DISPLAY");
        return xcb_connect(name.c_str(), nullptr);
    }

private:
    StartedProgram m_server;
    int m_numberPipe = -1;
};

std::uint32_t atom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const std::uint32_t result = reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

xcb_window_t rootOf(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The mapped top-level window of process `pid`, or none yet.
xcb_window_t shownWindowOf(xcb_connection_t* connection, pid_t pid) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, rootOf(connection)), nullptr);
    if (!tree)
        return XCB_WINDOW_NONE;
    const std::uint32_t pidAtom = atom(connection, "_NET_WM_PID");
    xcb_window_t found = XCB_WINDOW_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
        auto* property = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, children[i], pidAtom, XCB_ATOM_CARDINAL, 0, 1),
            nullptr);
        auto* attributes = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, children[i]), nullptr);
        if (property && xcb_get_property_value_length(property) == 4 && attributes &&
            attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            *static_cast<std::uint32_t*>(xcb_get_property_value(property)) ==
                static_cast<std::uint32_t>(pid))
            found = children[i];
        std::free(property);
        std::free(attributes);
    }
    std::free(tree);
    return found;
}

// What the window manager sends when the user clicks the close button.
void askToClose(xcb_connection_t* connection, xcb_window_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

// Waits for the window of `program` to show; none when the program ends first.
xcb_window_t waitForWindow(xcb_connection_t* connection, const StartedProgram& program) {
    xcb_window_t shown = XCB_WINDOW_NONE;
    for (int tries = 0; tries < 1200 && !shown && !hasEnded(program); ++tries) {
        usleep(50000);
        shown = shownWindowOf(connection, program.pid);
    }
    return shown;
}

void setWindowProperty(xcb_connection_t* connection, xcb_window_t on, const char* name,
                       xcb_window_t value) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, on, atom(connection, name),
                        XCB_ATOM_WINDOW, 32, 1, &value);
}

// The atoms of the window's _NET_WM_STATE, the state it asks a window manager for.
std::vector<std::uint32_t> askedStates(xcb_connection_t* connection, xcb_window_t window) {
    auto* property = xcb_get_property_reply(connection,
                                            xcb_get_property(connection, 0, window,
                                                             atom(connection, "_NET_WM_STATE"),
                                                             XCB_ATOM_ATOM, 0, 16),
                                            nullptr);
    std::vector<std::uint32_t> atoms;
    if (property) {
        const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(property));
        atoms.assign(values, values + xcb_get_property_value_length(property) / 4);
    }
    std::free(property);
    return atoms;
}

} // namespace

// Where a window manager runs, the window asks it to maximize; on a bare X server it covers the
// screen itself. A manager is told by the _NET_SUPPORTING_WM_CHECK window that it sets on the root
// window and on itself; the test sets one up without a manager behind it.
TEST(Startup, TheWindowFillsTheScreenWithOrWithoutAWindowManager) {
    VirtualDisplay display;
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
    xcb_connection_t* connection = display.becomeTheDisplay();
    ASSERT_EQ(xcb_connection_has_error(connection), 0) << display.name;
    for (const bool managerRuns : {false, true}) {
        SCOPED_TRACE(managerRuns ? "a window manager runs" : "no window manager");
        if (managerRuns) {
            const xcb_window_t check = xcb_generate_id(connection);
            xcb_create_window(connection, 0, check, rootOf(connection), 0, 0, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
            setWindowProperty(connection, check, "_NET_SUPPORTING_WM_CHECK", check);
            setWindowProperty(connection, rootOf(connection), "_NET_SUPPORTING_WM_CHECK", check);
            xcb_flush(connection);
        }
        const StartedProgram window = startProgram(CORRELATORE_APP_PATH, {});
        const xcb_window_t shown = waitForWindow(connection, window);
        EXPECT_NE(shown, XCB_WINDOW_NONE) << "the window never showed";
        if (shown) {
            auto* geometry =
                xcb_get_geometry_reply(connection, xcb_get_geometry(connection, shown), nullptr);
            ASSERT_NE(geometry, nullptr);
            const std::vector<std::uint32_t> states = askedStates(connection, shown);
            const auto asks = [&](const char* name) {
                return std::find(states.begin(), states.end(), atom(connection, name)) !=
                       states.end();
            };
            if (managerRuns) {
                EXPECT_TRUE(asks("_NET_WM_STATE_MAXIMIZED_VERT"));
                EXPECT_TRUE(asks("_NET_WM_STATE_MAXIMIZED_HORZ"));
            } else {
                EXPECT_EQ(geometry->x, 0);
                EXPECT_EQ(geometry->y, 0);
                EXPECT_EQ(geometry->width, 1280);
                EXPECT_EQ(geometry->height, 1024);
            }
            std::free(geometry);
            kill(window.pid, SIGTERM);
        }
        waitForProgram(window);
    }
    xcb_disconnect(connection);
}

// Under the asan preset this is the sanitized window: a leak or an error report would end it with
// status 1. Leaks inside system libraries are suppressed by tests/lsan-system-libraries.supp.
TEST(Startup, APlainStartAndCloseExitsZero) {
    VirtualDisplay display;
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
    xcb_connection_t* connection = display.becomeTheDisplay();
    ASSERT_EQ(xcb_connection_has_error(connection), 0) << display.name;
    const StartedProgram window = startProgram(CORRELATORE_APP_PATH, {});
    const xcb_window_t shown = waitForWindow(connection, window);
    EXPECT_NE(shown, XCB_WINDOW_NONE) << "the window never showed";
    if (shown)
        askToClose(connection, shown);
    else
        kill(window.pid, SIGTERM);
    const ProgramResult result = waitForProgram(window);
    xcb_disconnect(connection);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << result.err;
}
#endif
