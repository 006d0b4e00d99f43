#pragma once

class QWidget;

namespace correlatore {

// Shows `window` maximized. A bare X server (xvfb-run, a kiosk session) runs no window manager to
// act on that request, and the window would stay at its restored size, showing the chart's corner
// and no button: there the window covers the screen's available area instead, with the same layout.
void showMaximizedOrFillScreen(QWidget& window);

} // namespace correlatore
