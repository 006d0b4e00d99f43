#include "measured_efficiency.h"

#include "analogue_expectation.h"
#include "expectation.h"

namespace correlatore {

double measuredEfficiency(RunParameters parameters,
                          const std::array<double, simulationStepCount>& p,
                          const std::array<double, simulationStepCount>& r) {
    const ExpectedCurves clipped = expectedCurves(parameters);
    const AnalogueCurves analogue = analogueCurves(parameters);
    const double noSignal = expectationOf(0.5, settlingOf(parameters)).c;
    double clippedSum = 0.0, analogueSum = 0.0;
    for (int i = 0; i < simulationStepCount && siNiOfStep(i) <= measuredEfficiencyUpToSiNi; ++i) {
        const auto step = static_cast<std::size_t>(i);
        const AnalogueExpectation& expected = analogue.expected[step];
        const double weight = expected.r / expected.sd;
        clippedSum += weight * (2.0 * p[step] - 1.0 - noSignal) / clipped.model[step].sd;
        analogueSum += weight * r[step] / expected.sd;
    }
    return clippedSum / analogueSum;
}

} // namespace correlatore
