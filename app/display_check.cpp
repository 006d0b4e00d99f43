#include "display_check.h"

#include "quoted_text.h"

#include <cstdlib>

#ifdef CORRELATORE_HAVE_XCB
#include <xcb/xcb.h>
#else
#include <sys/stat.h>
#endif

namespace correlatore {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// What the command line names, as Qt takes it, before the environment.
std::string argumentOrVariable(const std::string& argument, const char* variable) {
    const char* value = std::getenv(variable);
    return !argument.empty() ? argument : value ? value : "";
}

#ifdef CORRELATORE_HAVE_XCB
// Connecting is the only sure test: a name like localhost:99 says nothing about whether a server
// listens there, and Qt aborts the program when none does.
bool displayAnswers(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}
#else
// Without the X client library only a local display ":N" or ":N.S" can be checked, by its socket
// under /tmp/.X11-unix; any other is given the benefit of the doubt.
bool displayAnswers(const std::string& display) {
    if (display.empty() || display.front() != ':')
        return true;
    const std::string number = display.substr(1, display.find('.') - 1);
    const std::string socket = "/tmp/.X11-unix/X" + number;
    struct stat info {};
    return stat(socket.c_str(), &info) == 0;
}
#endif

} // namespace

std::string noDisplay(const std::string& reason) {
    return "correlatore: no display to open the window on (" + reason +
           "); run it in a desktop session, or under a virtual one: xvfb-run -s '-screen 0 "
           "1280x1024x24' correlatore";
}

std::string missingDisplayMessage(const std::string& platformArgument,
                                  const std::string& displayArgument) {
    const std::string platform = argumentOrVariable(platformArgument, "QT_QPA_PLATFORM");
    const bool platformIsX11 = platform.starts_with("xcb");
    if ((!platform.empty() && !platformIsX11) || (!platformIsX11 && isSet("WAYLAND_DISPLAY")))
        return {};
    const std::string display = argumentOrVariable(displayArgument, "DISPLAY");
    if (display.empty())
        return noDisplay("DISPLAY is not set");
    if (!displayAnswers(display))
        return noDisplay("the display " + quotedText(display) + " cannot be reached");
    return {};
}

} // namespace correlatore
