#include "curves.h"

#include "chart_geometry.h"

namespace correlatore {

void drawTheoreticalCurve(DrawingSurface& surface, CorrelationFormula formula) {
    sweepTheory(
        [&surface](const TheoryPoint& point) {
            surface.PSet(DrawingSurface::colourGiven, chart::xOfSiNi(point.s),
                         chart::yOfCoefficient(point.crt), red);
        },
        formula);
}

void drawSimulatedPoint(DrawingSurface& surface, double s, double p) {
    surface.Circle(DrawingSurface::colourGiven, chart::xOfSiNi(s), chart::yOfCoincidence(p),
                   simulatedPointRadius, blue);
}

} // namespace correlatore
