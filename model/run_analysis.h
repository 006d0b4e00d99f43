#pragma once

#include "analogue_expectation.h"
#include "correlator.h"
#include "expectation.h"
#include "input_estimate.h"
#include "run_parameters.h"

#include <array>
#include <optional>
#include <string>

namespace correlatore {

// How well a run agrees with the model, step by step and over the whole range: what the window,
// the web page, the pictures and the command line show of it.

// Below this Beta the integrator's final state is skewed near C = +1 and -1 (it remembers only
// the few disagreements of its last Beta samples), and the chi-square tail is only a rough p-value:
// a nominal 5 % test rejected 11 % of 2000 runs of the right model at Beta 100, and 5 to 7 % from
// Beta 800 up.
inline constexpr int approximatePValueBelowBeta = 800;

struct StepAnalysis {
    double c;                           // the run's coefficient, 2P - 1
    Expectation expected;               // E[C] and sd[C] of the five-uniform model
    double z;                           // (c - E[C]) / sd[C]
    std::optional<InputEstimate> input; // Van Vleck's inversion of c, where there is one
};

// The step's P against one step's expectation.
StepAnalysis analyseStep(double p, const Expectation& expected);

// The chi-square test over the 241 steps, which are independent (each has its own random stream).
struct FitSummary {
    double chiSquare;
    double perDegreeOfFreedom;
    double pValue; // the chance of a chi-square at least this large from the reference itself
};

inline constexpr int fitDegreesOfFreedom = simulationStepCount;

FitSummary fitSummaryOf(double chiSquare);

struct RunAnalysis {
    RunParameters parameters;
    std::array<StepAnalysis, simulationStepCount> steps;
    FitSummary model;                   // against the simulation's own five-uniform model
    FitSummary arcsine;                 // against the arcsine law with the true pi, settled
    std::optional<FitSummary> analogue; // the analogue estimates against their expectation
    bool pValueIsApproximate;           // Beta below approximatePValueBelowBeta
};

// A run's 241 values of P, in step order, against both references.
RunAnalysis analyseRun(RunParameters parameters, const std::array<double, simulationStepCount>& p);

// The same, and the run's analogue estimates r against their expectation.
RunAnalysis analyseRun(RunParameters parameters, const std::array<double, simulationStepCount>& p,
                       const std::array<double, simulationStepCount>& r);

// The analogue estimate's z at one step, (r - E[r]) / sd[r].
double analogueZ(double r, const AnalogueExpectation& expected);

// "fit: model chi2/dof=1.013 p=0.4298; arcsine chi2/dof=1.112 p=0.1120", numbers to 4 significant
// digits whatever the locale, and a note where the p-values are approximate. With the analogue
// estimates, "; analogue chi2/dof=0.9876 p=0.5432; efficiency=0.5979" before the note: their fit,
// and what the clipped correlator keeps of the analogue one's signal-to-noise ratio at low Si/Ni.
std::string fitLine(const RunAnalysis& analysis);

} // namespace correlatore
