#pragma once

#include "correlator.h"
#include "run_parameters.h"

#include <array>

namespace correlatore {

// What a run is expected to show at one step: the mean and standard deviation of the chart's
// coefficient C = 2P - 1, P the integrator's final state over Beta.
struct Expectation {
    double c;
    double sd;
};

// How far a run's integrator, started at 0, has settled after its Nm + 1 samples: with
// q = 1 - 1/Beta, E[P] = p (1 - q^(Nm+1)) and Var[P] = p (1 - p) (1 - q^(2 (Nm+1))) / (2 Beta - 1)
// for samples that agree with probability p, independently.
struct Settling {
    double meanFactor;     // 1 - q^(Nm+1)
    double varianceFactor; // (1 - q^(2 (Nm+1))) / (2 Beta - 1)
};

Settling settlingOf(RunParameters parameters);

// E[C] = 2 E[P] - 1 and sd[C] = 2 sd[P] for samples that agree with probability p.
Expectation expectationOf(double p, const Settling& settling);

// Both references for every step of a run with these parameters.
struct ExpectedCurves {
    // The simulation's own model, signal and noises each a sum of five uniform draws.
    std::array<Expectation, simulationStepCount> model;
    // The arcsine law with the true pi, C = (2/pi) arcsin(rho), as Gaussian inputs would give it,
    // settled the same way: the idealisation that the classic red curve draws.
    std::array<Expectation, simulationStepCount> arcsine;
};

ExpectedCurves expectedCurves(RunParameters parameters);

} // namespace correlatore
