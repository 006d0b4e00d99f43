#pragma once

#include "chart_text.h"
#include "correlator.h"
#include "expectation.h"

#include <array>

namespace correlatore {

// The model's colours: a bluish green that reads apart from the blue circles and the red curve,
// also for the common kinds of colour blindness, and a pale tint of it for the band.
inline constexpr ColorRef modelCurveColour = 0x739E00; // RGB 0, 158, 115
inline constexpr ColorRef modelBandColour = 0xD6E8C6;  // RGB 198, 232, 214

// Where the five-uniform model expects a run's circles: E[C] +- 2 sd[C] as a pale band, and E[C]
// over it, between the steps in straight lines. Both are drawn a pixel column at a time, as
// vertical lines, so that every renderer draws the same pixels; C is kept within -1 and +1.
void drawModelBand(DrawingSurface& surface,
                   const std::array<Expectation, simulationStepCount>& model);

// A legend in the chart's empty lower half (C below 0): the band, and the circles and the red
// curve where they are drawn, with the window's own names for them.
void drawBandLegend(DrawingSurface& surface, ChartTexts& texts, bool run, bool theory);

} // namespace correlatore
