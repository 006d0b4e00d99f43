#include "model_band.h"

#include "chart_geometry.h"
#include "curves.h"
#include "drawing_measures.h"
#include "pixel_picture.h"

#include <algorithm>
#include <cmath>

namespace correlatore {

namespace {

constexpr int plotWidthTwips = 9200;
constexpr double stepsAcross = simulationStepCount - 1;

// The middle of pixel `index`, in twips.
float middleOf(int index) {
    return static_cast<float>((index + 0.5) * twipsPerPixel);
}

// The expectation at the middle of pixel column `column`, between the two steps around it.
Expectation expectationAt(const std::array<Expectation, simulationStepCount>& model, int column) {
    const double step =
        std::clamp((column + 0.5) * twipsPerPixel * stepsAcross / plotWidthTwips, 0.0, stepsAcross);
    const auto below = std::min(static_cast<std::size_t>(step), model.size() - 2);
    const double t = step - static_cast<double>(below);
    const Expectation& a = model[below];
    const Expectation& b = model[below + 1];
    return {a.c + t * (b.c - a.c), a.sd + t * (b.sd - a.sd)};
}

int rowOf(double c) {
    return pixelOf(chart::yOfCoefficient(std::clamp(c, -1.0, 1.0)));
}

void verticalLine(DrawingSurface& surface, int column, int fromRow, int toRow, ColorRef colour) {
    surface.Line(DrawingSurface::lineColourGiven, middleOf(column), middleOf(fromRow),
                 middleOf(column), middleOf(toRow), colour);
}

} // namespace

void drawModelBand(DrawingSurface& surface,
                   const std::array<Expectation, simulationStepCount>& model) {
    const int columns = pixelOf(static_cast<float>(plotWidthTwips)) + 1;
    for (int column = 0; column < columns; ++column) {
        const Expectation e = expectationAt(model, column);
        verticalLine(surface, column, rowOf(e.c + 2.0 * e.sd), rowOf(e.c - 2.0 * e.sd),
                     modelBandColour);
    }
    drawExpectedCurve(surface, model, modelCurveColour);
}

void drawExpectedCurve(DrawingSurface& surface,
                       const std::array<Expectation, simulationStepCount>& model, ColorRef colour) {
    const int columns = pixelOf(static_cast<float>(plotWidthTwips)) + 1;
    // Each column's part of the curve reaches to the row before the next column's, so that a
    // steep stretch stays one unbroken line.
    for (int column = 0; column < columns; ++column) {
        const int row = rowOf(expectationAt(model, column).c);
        const int next = column + 1 < columns ? rowOf(expectationAt(model, column + 1).c) : row;
        const int end = next > row ? next - 1 : next < row ? next + 1 : row;
        verticalLine(surface, column, row, end, colour);
    }
}

namespace {

// A cross two pixels each way from its middle: unlike a ring, it reads apart from the circles
// where the two coincide.
void drawCross(DrawingSurface& surface, float x, float y, ColorRef colour) {
    constexpr auto arm = static_cast<float>(2.0 * twipsPerPixel);
    surface.Line(DrawingSurface::lineColourGiven, x - arm, y, x + arm, y, colour);
    surface.Line(DrawingSurface::lineColourGiven, x, y - arm, x, y + arm, colour);
}

} // namespace

void drawAnalogueCurve(DrawingSurface& surface,
                       const std::array<AnalogueExpectation, simulationStepCount>& expected) {
    std::array<Expectation, simulationStepCount> curve{};
    for (std::size_t i = 0; i < curve.size(); ++i)
        curve[i] = {expected[i].r, expected[i].sd};
    drawExpectedCurve(surface, curve, analogueColour);
}

void drawAnalogueEstimate(DrawingSurface& surface, double s, double r) {
    drawCross(surface, chart::xOfSiNi(s), chart::yOfCoefficient(std::clamp(r, -1.0, 1.0)),
              analogueColour);
}

void drawChartLegend(DrawingSurface& surface, ChartTexts& texts, LegendEntries entries) {
    constexpr int swatchLeft = 40, swatchWidth = 24, textLeft = 72; // pixels
    constexpr int top = 300, rowHeight = 20, backdropRight = 300;   // short of the axis
    const int count =
        int{entries.band} + 2 * int{entries.analogue} + int{entries.run} + int{entries.theory};
    // On the chart's background, so that the grid's dots do not run through the texts.
    for (int column = swatchLeft - 8; column <= backdropRight; ++column)
        verticalLine(surface, column, top, top + count * rowHeight, chartBackground);
    int row = top + rowHeight / 2;
    const auto entry = [&](const char* text, ColorRef colour) {
        texts.push_back({middleOf(textLeft), middleOf(row), colour, TextAnchor::Left, text});
        row += rowHeight;
    };
    const auto lineSwatch = [&](ColorRef colour) {
        surface.Line(DrawingSurface::lineColourGiven, middleOf(swatchLeft), middleOf(row),
                     middleOf(swatchLeft + swatchWidth - 1), middleOf(row), colour);
    };
    if (entries.band) {
        for (int column = swatchLeft; column < swatchLeft + swatchWidth; ++column)
            verticalLine(surface, column, row - 4, row + 4, modelBandColour);
        lineSwatch(modelCurveColour);
        entry("Modello a cinque uniformi: E[C] \u00b1 2\u03c3", modelCurveColour);
    }
    if (entries.analogue) {
        drawCross(surface, middleOf(swatchLeft + swatchWidth / 2), middleOf(row), analogueColour);
        entry("Correlatore analogico: r", analogueColour);
        lineSwatch(analogueColour);
        entry("E[r] = \u03c1 = A\u00b2/(A\u00b2 + 1)", analogueColour);
    }
    if (entries.run) {
        surface.Circle(DrawingSurface::colourGiven, middleOf(swatchLeft + swatchWidth / 2),
                       middleOf(row), simulatedPointRadius, blue);
        entry("Funzione sperimentale", blue);
    }
    if (entries.theory) {
        surface.Line(DrawingSurface::lineColourGiven, middleOf(swatchLeft), middleOf(row),
                     middleOf(swatchLeft + swatchWidth - 1), middleOf(row), red);
        entry("Funzione calcolata", red);
    }
}

} // namespace correlatore
