#include "run_analysis.h"

#include "chi_square.h"

namespace correlatore {

StepAnalysis analyseStep(double p, const Expectation& expected) {
    const double c = 2.0 * p - 1.0;
    return {c, expected, (c - expected.c) / expected.sd, estimateInput(c)};
}

FitSummary fitSummaryOf(double chiSquare) {
    return {chiSquare, chiSquare / fitDegreesOfFreedom,
            chiSquareUpperTail(chiSquare, fitDegreesOfFreedom)};
}

RunAnalysis analyseRun(RunParameters parameters, const std::array<double, simulationStepCount>& p) {
    const ExpectedCurves curves = expectedCurves(parameters);
    RunAnalysis analysis{};
    analysis.parameters = parameters;
    double modelSum = 0.0;
    double arcsineSum = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const StepAnalysis& step = analysis.steps[i] = analyseStep(p[i], curves.model[i]);
        modelSum += step.z * step.z;
        const double z = (step.c - curves.arcsine[i].c) / curves.arcsine[i].sd;
        arcsineSum += z * z;
    }
    analysis.model = fitSummaryOf(modelSum);
    analysis.arcsine = fitSummaryOf(arcsineSum);
    analysis.pValueIsApproximate = parameters.beta < approximatePValueBelowBeta;
    return analysis;
}

double analogueZ(double r, const AnalogueExpectation& expected) {
    return (r - expected.r) / expected.sd;
}

RunAnalysis analyseRun(RunParameters parameters, const std::array<double, simulationStepCount>& p,
                       const std::array<double, simulationStepCount>& r) {
    RunAnalysis analysis = analyseRun(parameters, p);
    const AnalogueCurves curves = analogueCurves(parameters);
    double sum = 0.0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const double z = analogueZ(r[i], curves.expected[i]);
        sum += z * z;
    }
    analysis.analogue = fitSummaryOf(sum);
    return analysis;
}

} // namespace correlatore
