#include "display_check.h"

#include <cstdlib>
#include <string_view>
#include <sys/stat.h>

namespace correlatore {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// A local X display ":N" or ":N.S" has its socket under /tmp/.X11-unix; a remote one cannot be
// checked without connecting, so it is given the benefit of the doubt.
bool localX11SocketMissing(std::string_view display) {
    if (display.empty() || display.front() != ':')
        return false;
    const std::string_view number = display.substr(1, display.find('.') - 1);
    const std::string socket = "/tmp/.X11-unix/X" + std::string(number);
    struct stat info {};
    return stat(socket.c_str(), &info) != 0;
}

} // namespace

std::string missingDisplayMessage() {
    if (isSet("QT_QPA_PLATFORM") || isSet("WAYLAND_DISPLAY"))
        return {};
    if (!isSet("DISPLAY"))
        return "correlatore: no display to open the window on (DISPLAY is not set); run it in a "
               "desktop session, or under a virtual one: xvfb-run -s '-screen 0 1280x1024x24' "
               "correlatore";
    const std::string display = std::getenv("DISPLAY");
    if (localX11SocketMissing(display))
        return "correlatore: cannot reach the display " + display +
               "; start its X server, or run under a virtual one: xvfb-run correlatore";
    return {};
}

} // namespace correlatore
