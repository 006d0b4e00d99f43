#pragma once

#include "display_list.h"
#include "drawing_measures.h"

#include <QColor>

class QPainter;

namespace correlatore {

QColor toQColor(ColorRef colour);

// Draws the display list with `painter`, whose coordinates must be the window's pixels
// (15 twips a pixel); scale the painter for a sharper picture. One routine serves the window,
// PNG and SVG alike, so the pictures cannot disagree.
void render(const DisplayList& ops, QPainter& painter);

} // namespace correlatore
