#pragma once

#include "display_list.h"

// The measures every renderer of a display list shares, the window's and the browser's alike.
// Plain C++, so that tools which only need the numbers need no Qt.

namespace correlatore {

inline constexpr double twipsPerPixel = 15.0;

// The window's layout gives whole multiples of 15 twips: whole pixels.
constexpr int pixelsOf(int twips) {
    return static_cast<int>(twips / twipsPerPixel);
}

// The chart's area: up to the end of the horizontal axis (x = 9360) and the bottom grid row.
inline constexpr int chartPixelWidth = 625;
inline constexpr int chartPixelHeight = 427;

// A simulated point's circle has a radius of 10 twips, under one pixel; it is drawn with a radius
// of at least this many pixels (a 5 x 5 pixel ring) so that every point shows as a blue mark.
inline constexpr double minimumCircleRadiusPixels = 2.0;

// The background of the chart, in the window and in every picture file alike: the standard light
// grey of 3D faces.
inline constexpr ColorRef chartBackground = 0xF0F0F0;

} // namespace correlatore
