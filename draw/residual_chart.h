#pragma once

#include "chart_text.h"
#include "run_analysis.h"

#include <array>
#include <cstdint>
#include <string>

namespace correlatore {

// The fit's numbers as the pictures and the analysis views write them, in Italian: the digits of
// fitLine() with decimal commas, one line a reference ("modello: χ²/gdl = 1,013, p = 0,4298",
// "arcoseno (π vero): χ²/gdl = 1,112, p = 0,1120"), the last with a note where the p-values are
// approximate; and the two lines in one, joined by "; ".
std::array<std::string, 2> italianFitLines(const RunAnalysis& analysis);

// One reference's fit so: "modello: χ²/gdl = 1,013, p = 0,4298"; and one number to 4 significant
// digits with a decimal comma.
std::string italianFit(const char* reference, const FitSummary& fit);
std::string italianNumber(double value);
std::string italianFitNumbers(const RunAnalysis& analysis);

// The residual chart of a run: each step's z = (c - E[C]) / sd[C] against the five-uniform
// model, as a blue circle over Si/Ni from -60 to +60 dB, with lines at z = 0 and at +-2 (in the
// band's colour: the band's edges), the run's Beta, Nm and seed and its fit written above. z is
// shown from -5 to +5; a step beyond sits on the edge.
inline constexpr double residualChartLimit = 5.0;
Figure residualChart(const RunAnalysis& analysis, std::uint64_t seed);

} // namespace correlatore
