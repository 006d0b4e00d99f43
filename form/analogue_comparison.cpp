#include "analogue_comparison.h"

#include "chart_frame.h"
#include "curves.h"
#include "drawing_measures.h"
#include "measured_efficiency.h"
#include "model_band.h"
#include "residual_chart.h"
#include "run_analysis.h"

#include <algorithm>
#include <cstdio>

namespace correlatore {

SimulationOptions analogueRerunOptions(const FinishedRun& run) {
    SimulationOptions options;
    options.parameters = run.parameters;
    options.seed = run.seed;
    options.analogue = true;
    return options;
}

namespace {

// Two decimals with a decimal comma, "0,57", "-0,05": as far as one run measures the efficiency.
std::string hundredths(double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.2f", value);
    std::string shown = text.data();
    std::replace(shown.begin(), shown.end(), '.', ',');
    return shown;
}

Figure comparisonChart(const FinishedRun& run, const std::array<double, simulationStepCount>& r) {
    DrawingSurface surface;
    drawChartFrame(surface);
    drawAnalogueCurve(surface, analogueCurves(run.parameters).expected);
    // Every cross under every circle, as the command line draws them.
    for (int i = 0; i < simulationStepCount; ++i)
        drawAnalogueEstimate(surface, siNiOfStep(i), r[static_cast<std::size_t>(i)]);
    for (int i = 0; i < simulationStepCount; ++i)
        drawSimulatedPoint(surface, siNiOfStep(i), run.p[static_cast<std::size_t>(i)]);
    Figure figure{chartPixelWidth, chartPixelHeight, {}, {}};
    drawChartLegend(surface, figure.texts, {false, true, true, false});
    figure.ops = surface.ops();
    return figure;
}

} // namespace

AnalogueComparison analogueComparison(const FinishedRun& rerun,
                                      const std::array<double, simulationStepCount>& r) {
    AnalogueComparison comparison{rerun, r, {}, comparisonChart(rerun, r)};
    const RunAnalysis analysis = analyseRun(rerun.parameters, rerun.p, r);
    const MeasuredEfficiency measured = measuredEfficiency(rerun.parameters, rerun.p, r);
    comparison.numbers =
        italianFit("analogico", *analysis.analogue) + "; efficienza per Si/Ni basso " +
        italianNumber(lowSignalEfficiency()) +
        " (2/\u03c0 = 0,6366 per ingressi gaussiani), misurata in questa prova fino a \u2212" +
        std::to_string(static_cast<int>(-measuredEfficiencyUpToSiNi)) + " dB " +
        hundredths(measured.value) + " \u00b1 " + hundredths(measured.sd);
    return comparison;
}

AnalogueComparison compareWithAnalogue(const FinishedRun& run) {
    FinishedRun rerun{run.parameters, run.seed, {}};
    std::array<double, simulationStepCount> r{};
    simulate(analogueRerunOptions(run), [&](const StepResult& step) {
        rerun.p[static_cast<std::size_t>(step.index)] = step.p;
        r[static_cast<std::size_t>(step.index)] = step.r;
    });
    return analogueComparison(rerun, r);
}

} // namespace correlatore
