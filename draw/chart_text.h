#pragma once

#include "display_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace correlatore {

// Where a text stands against its point: its left end, its middle or its right end there.
enum class TextAnchor : std::uint8_t { Left, Centre, Right };

// A line of text in a picture, beside the display list that the drawing operations make: the
// legends and numbers of pictures that the window never shows. Positions in chart space (twips);
// y is the text's vertical middle.
struct ChartText {
    float x, y;
    ColorRef colour;
    TextAnchor anchor;
    std::string text; // UTF-8

    friend bool operator==(const ChartText&, const ChartText&) = default;
};

using ChartTexts = std::vector<ChartText>;

// A drawing with its texts, of its own size in window pixels.
struct Figure {
    int width;
    int height;
    DisplayList ops;
    ChartTexts texts;
};

} // namespace correlatore
