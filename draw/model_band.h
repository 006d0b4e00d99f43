#pragma once

#include "analogue_expectation.h"
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

// The analogue correlator's colour, orange: apart from the blue circles, the red curve and the
// model's green, also for the common kinds of colour blindness.
inline constexpr ColorRef analogueColour = 0x009FE6; // RGB 230, 159, 0

// A curve through every step's expected value, drawn as the band's curve is, in `colour`.
void drawExpectedCurve(DrawingSurface& surface,
                       const std::array<Expectation, simulationStepCount>& model, ColorRef colour);

// The analogue estimates' expected curve E[r], in orange.
void drawAnalogueCurve(DrawingSurface& surface,
                       const std::array<AnalogueExpectation, simulationStepCount>& expected);

// The analogue estimate r of one step, a small orange cross at Si/Ni s and C = r, on the chart's
// scale of C: beside the circle of the same step, what the same samples give unclipped.
void drawAnalogueEstimate(DrawingSurface& surface, double s, double r);

// What a legend lists, in this order: the model's band, the analogue estimates and their expected
// curve, the circles, the red curve.
struct LegendEntries {
    bool band = false;
    bool analogue = false;
    bool run = false;
    bool theory = false;
};

// A legend in the chart's empty lower half (C below 0) of what is drawn, with the window's own
// names for the circles and the red curve.
void drawChartLegend(DrawingSurface& surface, ChartTexts& texts, LegendEntries entries);

} // namespace correlatore
