#pragma once

#include "correlator.h"
#include "run_parameters.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace correlatore {

// A run's circles on the chart: what made them and, once the last is drawn, what they show.
struct ShownRun {
    RunParameters parameters;
    std::uint64_t seed;
    std::optional<std::array<double, simulationStepCount>> p; // empty while the run draws

    friend bool operator==(const ShownRun&, const ShownRun&) = default;
};

// What the chart shows, as far as a reader of the screen needs to know it.
struct ChartContents {
    bool frame = false;
    bool theoreticalCurve = false;
    std::optional<ShownRun> run;

    friend bool operator==(const ChartContents&, const ChartContents&) = default;
};

// The chart's name for assistive technology: "Grafico C = f (Si/Ni)".
std::string chartAccessibleName();

// The chart told in Italian words, for those who cannot see it: the axes and grid, then each curve
// drawn with what made it and the C it reaches at -60, 0 and +60 dB.
std::string describeChart(const ChartContents& contents);

} // namespace correlatore
