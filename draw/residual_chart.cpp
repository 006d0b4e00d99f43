#include "residual_chart.h"

#include "curves.h"
#include "drawing_measures.h"
#include "model_band.h"

#include <algorithm>
#include <string>

namespace correlatore {

namespace {

// The plot in twips: as wide as the chart's, 40 pixels a unit of z; room for the texts around.
constexpr float plotLeft = 900.0f, plotTop = 1050.0f, plotWidth = 9200.0f, plotHeight = 6000.0f;
constexpr float plotRight = plotLeft + plotWidth, plotBottom = plotTop + plotHeight;
constexpr int figureWidth = 704, figureHeight = 520; // pixels
constexpr float tick = 90.0f;

float xOf(double s) {
    return static_cast<float>(static_cast<double>(plotLeft) +
                              static_cast<double>(plotWidth) * (s + 60.0) / 120.0);
}

float yOf(double z) {
    const double shown = std::clamp(z, -residualChartLimit, residualChartLimit);
    const double unit = static_cast<double>(plotHeight) / (2.0 * residualChartLimit);
    return static_cast<float>(static_cast<double>(plotTop) + static_cast<double>(plotHeight) / 2.0 -
                              unit * shown);
}

std::string signedNumber(int value) {
    std::string text = value > 0 ? "+" : "";
    text += std::to_string(value);
    return text;
}

} // namespace

std::string italianNumber(double value) {
    std::string text = fourSignificantDigits(value);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string italianFit(const char* reference, const FitSummary& fit) {
    return std::string(reference) +
           ": \u03c7\u00b2/gdl = " + italianNumber(fit.perDegreeOfFreedom) +
           ", p = " + italianNumber(fit.pValue);
}

std::array<std::string, 2> italianFitLines(const RunAnalysis& analysis) {
    std::array<std::string, 2> lines{italianFit("modello", analysis.model),
                                     italianFit("arcoseno (\u03c0 vero)", analysis.arcsine)};
    if (analysis.pValueIsApproximate)
        lines[1] +=
            " (p approssimato sotto Beta " + std::to_string(approximatePValueBelowBeta) + ")";
    return lines;
}

std::string italianFitNumbers(const RunAnalysis& analysis) {
    const auto lines = italianFitLines(analysis);
    return lines[0] + "; " + lines[1];
}

Figure residualChart(const RunAnalysis& analysis, std::uint64_t seed) {
    DrawingSurface surface;
    ChartTexts texts;
    const auto horizontal = [&](float y, float from, float to, ColorRef colour) {
        surface.Line(DrawingSurface::lineColourGiven, from, y, to, y, colour);
    };
    for (const double z : {-2.0, 2.0})
        horizontal(yOf(z), plotLeft, plotRight, modelCurveColour);
    horizontal(yOf(0.0), plotLeft, plotRight, black);
    horizontal(plotTop, plotLeft, plotRight, black);
    horizontal(plotBottom, plotLeft, plotRight, black);
    for (const float x : {plotLeft, plotRight})
        surface.Line(DrawingSurface::lineColourGiven, x, plotTop, x, plotBottom, black);

    for (int s = -60; s <= 60; s += 20) {
        surface.Line(DrawingSurface::lineColourGiven, xOf(s), plotBottom, xOf(s), plotBottom + tick,
                     black);
        texts.push_back({xOf(s), plotBottom + 240.0f, black, TextAnchor::Centre, signedNumber(s)});
    }
    texts.push_back({xOf(0.0), plotBottom + 510.0f, black, TextAnchor::Centre, "Si/Ni (dB)"});
    for (int z = -4; z <= 4; z += 2) {
        horizontal(yOf(z), plotLeft - tick, plotLeft, black);
        texts.push_back({plotLeft - 150.0f, yOf(z), black, TextAnchor::Right, signedNumber(z)});
    }
    texts.push_back({150.0f, yOf(0.0) - 450.0f, black, TextAnchor::Left, "z"});

    for (std::size_t i = 0; i < analysis.steps.size(); ++i)
        surface.Circle(DrawingSurface::colourGiven, xOf(siNiOfStep(static_cast<int>(i))),
                       yOf(analysis.steps[i].z), simulatedPointRadius, blue);

    const RunParameters& run = analysis.parameters;
    texts.push_back(
        {plotLeft, 240.0f, black, TextAnchor::Left,
         "z = (c \u2212 E[C]) / \u03c3 della prova: Beta = " + std::to_string(run.beta) +
             ", Nm = " + std::to_string(run.nm) + ", seme = " + std::to_string(seed)});
    const auto fit = italianFitLines(analysis);
    texts.push_back({plotLeft, 510.0f, black, TextAnchor::Left, fit[0]});
    texts.push_back({plotLeft, 780.0f, black, TextAnchor::Left, fit[1]});
    return {figureWidth, figureHeight, surface.ops(), std::move(texts)};
}

} // namespace correlatore
