#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#ifdef CORRELATORE_HAVE_XCB
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#endif

namespace correlatore {

namespace {

#ifdef CORRELATORE_HAVE_XCB
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

// The window a running EWMH window manager names on the root window, and names again on itself;
// a stale property left by a manager that has ended names a window that no longer exists.
bool windowManagerRuns(xcb_connection_t* connection) {
    static constexpr char name[] = "_NET_SUPPORTING_WM_CHECK";
    const ReplyPointer<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const auto supportingWindow = [&](xcb_window_t window) -> xcb_window_t {
        const ReplyPointer<xcb_get_property_reply_t> property(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, atom->atom, XCB_ATOM_WINDOW, 0, 1),
            nullptr));
        if (!property || xcb_get_property_value_length(property.get()) != 4)
            return XCB_WINDOW_NONE;
        xcb_window_t named = XCB_WINDOW_NONE;
        std::memcpy(&named, xcb_get_property_value(property.get()), sizeof named);
        return named;
    };
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_window_t check = supportingWindow(root);
    return check != XCB_WINDOW_NONE && supportingWindow(check) == check;
}
#endif

// Only X11 can be without a window manager; other platforms always maximize. The offscreen
// platform offers the X11 interface too, without an XCB connection.
bool nothingWillMaximize() {
#ifdef CORRELATORE_HAVE_XCB
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection())
        return !windowManagerRuns(x11->connection());
#endif
    return false;
}

} // namespace

void showMaximizedOrFillScreen(QWidget& window) {
    if (nothingWillMaximize()) {
        window.setGeometry(window.screen()->availableGeometry());
        window.show();
    } else {
        window.showMaximized();
    }
}

} // namespace correlatore
