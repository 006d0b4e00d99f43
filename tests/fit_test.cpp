// Seeded runs over the whole Si/Ni range, the transition included, judged by the chi-square fit
// against the model's exact expectation. Guards against a change that moves the transition, which
// the tests at the flat ends cannot see: a run of a deliberately wrong model (the signal term
// scaled by A^2 instead of A, built here from the kernel's own pieces) must fail the same test, and
// so must analogue estimates whose products are divided by a wrong variance. It cannot catch a
// fault smaller than the scatter of a few runs. Seeds are fixed; CORRELATORE_TEST_SEED sets the
// first one.

#include "correlator.h"
#include "correlator_sample.h"
#include "random_stream.h"
#include "run_analysis.h"
#include "step_constants.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using namespace correlatore;

namespace {

using StepValues = std::array<double, simulationStepCount>;

std::uint64_t testSeed(std::uint64_t fallback) {
    const char* text = std::getenv("CORRELATORE_TEST_SEED");
    return text ? std::strtoull(text, nullptr, 0) : fallback;
}

struct Estimates {
    StepValues p{}, r{};
};

Estimates engineRun(RunParameters parameters, std::uint64_t seed, bool analogue = false) {
    Estimates run;
    SimulationOptions options{parameters, seed, 2, {}};
    options.analogue = analogue;
    EXPECT_TRUE(simulate(options, [&](const StepResult& step) {
        run.p[static_cast<std::size_t>(step.index)] = step.p;
        run.r[static_cast<std::size_t>(step.index)] = step.r;
    }));
    return run;
}

// A run made sample by sample from the kernel's pieces, with the signal amplitudes given and each
// step's analogue products multiplied by the weight given.
Estimates sampleByHand(RunParameters parameters, std::uint64_t seed, const StepValues& amplitudes,
                       const StepValues& weights) {
    Estimates run;
    for (std::size_t i = 0; i < simulationStepCount; ++i) {
        StepStream stream(seed, static_cast<int>(i));
        double acc = 0.0, analogueAcc = 0.0;
        for (long k = 0; k <= parameters.nm; ++k) {
            float r[15];
            for (float& draw : r)
                draw = stream.next();
            acc = integrate(acc, coincidence(r, amplitudes[i]), parameters.beta);
            analogueAcc = integrate(analogueAcc, normalisedProduct(r, amplitudes[i], weights[i]),
                                    parameters.beta);
        }
        run.p[i] = acc / parameters.beta;
        run.r[i] = analogueAcc / parameters.beta;
    }
    return run;
}

// Each step's analogue product weight as the engine takes it, 1 / ((A^2 + 1) 5/12).
StepValues engineWeights() {
    StepValues weights{};
    for (std::size_t i = 0; i < weights.size(); ++i)
        weights[i] = 1.0 / inputVariance(stepAmplitudes[i]);
    return weights;
}

// chi2/dof of a run of the right model lies within 4 standard deviations of 1.
const double tolerance = 4.0 * std::sqrt(2.0 / fitDegreesOfFreedom);

} // namespace

TEST(Fit, SeededRunsAgreeWithTheModelOverTheWholeRange) {
    const struct {
        const char* name;
        RunParameters parameters;
    } cases[] = {{"Beta 800, Nm 20000", {800, 20000}},
                 {"Beta 6400, Nm 200000", {6400, 200000}},
                 {"Beta 6400, Nm 20000, not settled", {6400, 20000}}};
    for (const auto& c : cases)
        for (const std::uint64_t seed : {testSeed(2026), std::uint64_t{7}, std::uint64_t{90210}}) {
            const Estimates run = engineRun(c.parameters, seed, true);
            const RunAnalysis fit = analyseRun(c.parameters, run.p, run.r);
            EXPECT_NEAR(fit.model.perDegreeOfFreedom, 1.0, tolerance)
                << c.name << ", seed " << seed << ": " << fitLine(fit);
            EXPECT_NEAR(fit.analogue->perDegreeOfFreedom, 1.0, tolerance)
                << c.name << ", seed " << seed << ": " << fitLine(fit);
            std::printf("%s, seed %llu: %s\n", c.name, static_cast<unsigned long long>(seed),
                        fitLine(fit).c_str());
        }
}

TEST(Fit, AWrongModelFailsFarOutside) {
    const RunParameters parameters{800, 20000};
    const std::uint64_t seed = testSeed(2026);
    // The hand-made run is the engine's run, bit for bit, when nothing is changed...
    const Estimates engine = engineRun(parameters, seed, true);
    const Estimates byHand = sampleByHand(parameters, seed, stepAmplitudes, engineWeights());
    ASSERT_EQ(byHand.p, engine.p);
    ASSERT_EQ(byHand.r, engine.r);
    // ... and with the signal scaled by A^2 it is not the model's...
    StepValues squared = stepAmplitudes;
    for (double& a : squared)
        a *= a;
    const RunAnalysis fit = analyseRun(parameters, sampleByHand(parameters, seed, squared, {}).p);
    EXPECT_GT(fit.model.perDegreeOfFreedom, 1.0 + 10.0 * tolerance) << fitLine(fit);
    EXPECT_LT(fit.model.pValue, 1e-6);
    std::printf("signal scaled by A^2, seed %llu: %s\n", static_cast<unsigned long long>(seed),
                fitLine(fit).c_str());
    // ... nor are analogue products over (A + 1) 5/12 rather than the inputs' variance.
    StepValues wrongWeights{};
    for (std::size_t i = 0; i < wrongWeights.size(); ++i)
        wrongWeights[i] = 1.0 / ((stepAmplitudes[i] + 1.0) * (5.0 / 12.0));
    const Estimates wrong = sampleByHand(parameters, seed, stepAmplitudes, wrongWeights);
    const RunAnalysis analogueFit = analyseRun(parameters, wrong.p, wrong.r);
    EXPECT_GT(analogueFit.analogue->perDegreeOfFreedom, 1.0 + 10.0 * tolerance)
        << fitLine(analogueFit);
    EXPECT_LT(analogueFit.analogue->pValue, 1e-6);
    std::printf("analogue products over (A + 1) 5/12, seed %llu: %s\n",
                static_cast<unsigned long long>(seed), fitLine(analogueFit).c_str());
}
