#pragma once

#include "display_list.h"
#include "theory.h"

namespace correlatore {

// The 1200 red points of the theoretical curve, each drawn as soon as it is computed, on top of
// whatever the surface shows. A floating-point fault ends it with the points so far drawn.
void drawTheoreticalCurve(DrawingSurface& surface,
                          CorrelationFormula formula = theoreticalCorrelation);

// The blue circle of one simulated step: Si/Ni value s and coincidence estimate p.
void drawSimulatedPoint(DrawingSurface& surface, double s, double p);

inline constexpr float simulatedPointRadius = 10.0f;

} // namespace correlatore
