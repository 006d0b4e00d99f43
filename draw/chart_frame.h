#pragma once

#include "display_list.h"

namespace correlatore {

inline constexpr const char* chartTitle = "SIMULATORE DEL PROCESSO DI CORRELAZIONE";

// The dotted grid and the two axes, in the classic order: 21 vertical dotted lines (3381 dots),
// 21 horizontal ones (3234 dots, the last of each row at x = 9180), then the horizontal axis to
// x = 9360 and the vertical axis. The dots take the surface's foreground colour.
void drawChartFrame(DrawingSurface& surface);

inline constexpr int frameDotCount = 3381 + 3234;
inline constexpr int frameOpCount = frameDotCount + 2;

} // namespace correlatore
