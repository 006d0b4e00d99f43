#pragma once

#include "display_list.h"

#include <QColor>

class QPainter;

namespace correlatore {

inline constexpr double twipsPerPixel = 15.0;

// A simulated point's circle has a radius of 10 twips, under one pixel; it is drawn with a radius
// of at least this many pixels (a 5 x 5 pixel ring) so that every point shows as a blue mark.
inline constexpr double minimumCircleRadiusPixels = 2.0;

// The background of the chart, in the window and in every picture file alike: the standard light
// grey of 3D faces.
inline constexpr ColorRef chartBackground = 0xF0F0F0;

QColor toQColor(ColorRef colour);

// Draws the display list with `painter`, whose coordinates must be the window's pixels
// (15 twips a pixel); scale the painter for a sharper picture. One routine serves the window,
// PNG and SVG alike, so the pictures cannot disagree.
void render(const DisplayList& ops, QPainter& painter);

} // namespace correlatore
