#pragma once

#include "chart_text.h"
#include "display_list.h"
#include "drawing_measures.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

namespace correlatore {

QColor toQColor(ColorRef colour);

// Draws the display list with `painter`, whose coordinates must be the window's pixels
// (15 twips a pixel); scale the painter for a sharper picture. One routine serves the window,
// PNG and SVG alike, so the pictures cannot disagree.
void render(const DisplayList& ops, QPainter& painter);

// The texts of a picture, over what render() drew, in `font`.
void renderTexts(const ChartTexts& texts, QPainter& painter, const QFont& font);

// The window's small text (8.25 points at 96 dots per inch) in `family`; the default family when
// empty.
inline constexpr int pictureTextPixels = 11;
QFont pictureFont(const QString& family = {});

} // namespace correlatore
