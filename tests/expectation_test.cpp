// The model's expectation, a run's fit and the inversion, against known values and independent
// computations. Guards against: a wrong density or distribution, a piece of the integral missed
// or cut at the wrong knot, a settling or variance formula off, a chi-square tail taken at the
// wrong argument, an inversion that does not undo the arcsine law, inf or NaN from an extreme run,
// and a fit line that follows the user's locale; for the analogue correlator, a wrong moment of the
// five-uniform sum, a product variance or settling off, and an efficiency that is not the ratio of
// the two correlators' signal-to-noise ratios. The seeded runs are in fit_test.

#include "agreement_probability.h"
#include "analogue_expectation.h"
#include "chi_square.h"
#include "correlator.h"
#include "expectation.h"
#include "input_estimate.h"
#include "run_analysis.h"
#include "step_constants.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <locale>
#include <string>

using namespace correlatore;

namespace {

// The sum of five uniform draws less 2.5 from the textbook's Irwin-Hall sums over the whole
// support, sum over k <= t of (-1)^k C(5, k) (t - k)^n / n!, t = x + 2.5: n = 4 gives the density
// and n = 5 the distribution function. A second derivation of f and F.
double textbookSum(double x, int n) {
    constexpr double binomials[] = {1, 5, 10, 10, 5, 1};
    const double t = std::clamp(x + 2.5, 0.0, 5.0);
    double sum = 0.0;
    double factorial = 1.0;
    for (int k = 0; k <= static_cast<int>(t) && k <= 5; ++k) {
        double term = (k % 2 ? -1.0 : 1.0) * binomials[k];
        for (int i = 0; i < n; ++i)
            term *= t - k;
        sum += term;
    }
    for (int i = 2; i <= n; ++i)
        factorial *= i;
    return sum / factorial;
}

double textbookDensity(double x) {
    return textbookSum(x, 4);
}

double textbookDistribution(double x) {
    return textbookSum(x, 5);
}

// The agreement probability by a fine midpoint rule over the whole support, with a grid of its
// own where the signal term A x sweeps the noise's support.
double midpointAgreement(double amplitude) {
    const auto integrand = [&](double x) {
        const double below = textbookDistribution(-amplitude * x);
        return textbookDensity(x) * (below * below + (1.0 - below) * (1.0 - below));
    };
    const auto midpoint = [&](double from, double to) {
        constexpr int intervals = 20000;
        const double width = (to - from) / intervals;
        double sum = 0.0;
        for (int i = 0; i < intervals; ++i)
            sum += integrand(from + (i + 0.5) * width);
        return sum * width;
    };
    const double inner = std::min(2.5, 2.5 / amplitude);
    double p = midpoint(-inner, inner);
    if (inner < 2.5)
        p += midpoint(-2.5, -inner) + midpoint(inner, 2.5);
    return p;
}

int stepOf(double s) {
    return static_cast<int>(std::lround((s + 60.0) * 2.0));
}

// The integral of textbookDensity(x) g(x) over the support by the midpoint rule. The density and
// its first three derivatives are continuous and vanish at the ends, so the rule's error falls
// as the fourth power of the width: far below what the tests ask.
template <typename Function> double midpointMean(const Function& g) {
    constexpr int intervals = 4000;
    const double width = 5.0 / intervals;
    double sum = 0.0;
    for (int i = 0; i < intervals; ++i) {
        const double x = -2.5 + (i + 0.5) * width;
        sum += textbookDensity(x) * g(x);
    }
    return sum * width;
}

// The normalised product's mean and variance by direct integration: given the signal s, the two
// inputs A s + n1 and A s + n2 are independent, so E[x1 x2 | s] = (A s)^2 and
// E[(x1 x2)^2 | s] = ((A s)^2 + E[n^2])^2. The kernel divides by (A^2 + 1) 5/12.
ProductMoments integratedProductMoments(double amplitude) {
    const double noisePower = midpointMean([](double n) { return n * n; });
    const double a2 = amplitude * amplitude;
    const double mean = a2 * noisePower;
    const double square = midpointMean([&](double x) {
        const double conditional = a2 * x * x + noisePower;
        return conditional * conditional;
    });
    const double scale = (a2 + 1.0) * 5.0 / 12.0;
    return {mean / scale, square / (scale * scale) - (mean / scale) * (mean / scale)};
}

} // namespace

TEST(Expectation, KnownValues) {
    const auto& p = stepAgreement();
    // For any one symmetric distribution of signal and noise, the settled E[C] at 0 dB is 1/3.
    const Expectation atZero = expectationOf(p[120], settlingOf({100, 200000}));
    EXPECT_NEAR(atZero.c, 1.0 / 3.0, 1e-15);
    EXPECT_NEAR(p[0], 0.5, 1e-6); // -60 dB
    // At low Si/Ni, C / rho tends to 4 f(0)^2 sigma^2, f(0) = 115/192, sigma^2 = 5/12.
    const double rho = 1.0 / (1.0 + 1.0 / (stepAmplitudes[0] * stepAmplitudes[0]));
    const double limit = 4.0 * (115.0 / 192.0) * (115.0 / 192.0) * (5.0 / 12.0);
    EXPECT_NEAR((2.0 * p[0] - 1.0) / rho, limit, 2e-6);
    // The model against the red curve and the arcsine law, as the README states them.
    const auto difference = [&](double s, const std::array<double, 241>& curve) {
        return (2.0 * p[static_cast<std::size_t>(stepOf(s))] - 1.0) -
               curve[static_cast<std::size_t>(stepOf(s))];
    };
    EXPECT_NEAR(difference(7.5, stepTheory), 0.0055, 0.0001);
    EXPECT_NEAR(difference(-5.5, stepTheory), -0.0038, 0.0001);
    EXPECT_NEAR(difference(7.5, stepArcsineLaw), 0.0058, 0.0001);
    for (int i = 0; i < simulationStepCount; ++i) {
        EXPECT_GT(p[static_cast<std::size_t>(i)], 0.5) << "step " << i;
        EXPECT_LT(p[static_cast<std::size_t>(i)], 1.0) << "step " << i;
    }
}

TEST(Expectation, AgreesWithAnIndependentIntegrationAtEveryStep) {
    const auto& p = stepAgreement();
    for (int i = 0; i < simulationStepCount; ++i)
        EXPECT_NEAR(p[static_cast<std::size_t>(i)],
                    midpointAgreement(stepAmplitudes[static_cast<std::size_t>(i)]), 1e-9)
            << "at " << siNiOfStep(i) << " dB";
}

TEST(Expectation, SettlingAndScatterAsTheChartShowsThem) {
    // 1 - (1 - 1/Beta)^(Nm + 1): 0.956 at Beta 6400 and Nm 20000.
    EXPECT_NEAR(settlingOf({6400, 20000}).meanFactor, 1.0 - std::pow(1.0 - 1.0 / 6400, 20001.0),
                1e-13);
    EXPECT_NEAR(settlingOf({6400, 20000}).meanFactor, 0.956, 0.0005);
    EXPECT_EQ(settlingOf({800, 200000}).meanFactor, 1.0);
    // One standard deviation of a circle's height around C = 0, in twips (6400 per unit of P).
    const struct {
        std::int16_t beta;
        double twips;
    } scatter[] = {{100, 227}, {200, 160}, {400, 113}, {800, 80},
                   {1600, 57}, {3200, 40}, {6400, 28}};
    for (const auto& row : scatter) {
        const Expectation e = expectationOf(0.5, settlingOf({row.beta, 200000}));
        EXPECT_NEAR(6400.0 * e.sd / 2.0, row.twips, 0.5) << "Beta " << row.beta;
    }
}

TEST(AnalogueExpectation, MomentsOfTheFiveUniformSum) {
    // The variance 5/12 and the fourth moment 2.76 (5/12)^2 = 23/48, integrated.
    EXPECT_NEAR(midpointMean([](double x) { return x * x; }), sumOfFiveVariance, 1e-13);
    EXPECT_NEAR(midpointMean([](double x) { return x * x * x * x; }), sumOfFiveFourthMoment, 1e-13);
    EXPECT_NEAR(sumOfFiveFourthMoment / (sumOfFiveVariance * sumOfFiveVariance), 2.76, 1e-15);
}

TEST(AnalogueExpectation, ProductMomentsAgreeWithADirectIntegrationAtEveryStep) {
    for (int i = 0; i < simulationStepCount; ++i) {
        const double amplitude = stepAmplitudes[static_cast<std::size_t>(i)];
        const ProductMoments closed = productMoments(amplitude);
        const ProductMoments integrated = integratedProductMoments(amplitude);
        EXPECT_NEAR(closed.mean, integrated.mean, 1e-12) << "at " << siNiOfStep(i) << " dB";
        EXPECT_NEAR(closed.variance, integrated.variance, 1e-12) << "at " << siNiOfStep(i) << " dB";
    }
    // The ends: products of independent unit-variance inputs, and of one input with itself.
    EXPECT_NEAR(productMoments(0.0).variance, 1.0, 1e-15);
    EXPECT_NEAR(productMoments(1e6).variance, 1.76, 1e-9);
}

TEST(AnalogueExpectation, SettlesAsTheIntegratorsSumOfSamples) {
    // r = (sum over j < Nm + 1 of q^j x_j) / Beta for independent samples x of mean m and variance
    // v.
    const ProductMoments product{0.3, 1.2};
    for (const RunParameters parameters : {RunParameters{100, 2000}, RunParameters{6400, 20000}}) {
        const double q = 1.0 - 1.0 / parameters.beta;
        double weight = 1.0, sum = 0.0, sumOfSquares = 0.0;
        for (long j = 0; j <= parameters.nm; ++j, weight *= q) {
            sum += weight;
            sumOfSquares += weight * weight;
        }
        const AnalogueExpectation e = analogueExpectationOf(product, settlingOf(parameters));
        EXPECT_NEAR(e.r, product.mean * sum / parameters.beta, 1e-12) << parameters.beta;
        EXPECT_NEAR(e.sd, std::sqrt(product.variance * sumOfSquares) / parameters.beta, 1e-12)
            << parameters.beta;
    }
}

TEST(Efficiency, IsTheRatioOfTheTwoSignalToNoiseRatios) {
    // Worked out step by step from the two expectations, for a run that has not settled.
    const Settling settling = settlingOf({6400, 20000});
    const Expectation noSignal = expectationOf(0.5, settling);
    const AnalogueCurves curves = analogueCurves({6400, 20000});
    for (int i = 0; i < simulationStepCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const Expectation clipped = expectationOf(stepAgreement()[index], settling);
        const AnalogueExpectation analogue =
            analogueExpectationOf(integratedProductMoments(stepAmplitudes[index]), settling);
        const double direct = ((clipped.c - noSignal.c) / clipped.sd) / (analogue.r / analogue.sd);
        EXPECT_NEAR(curves.efficiency[index], direct, 1e-8 * direct)
            << "at " << siNiOfStep(i) << " dB";
        EXPECT_EQ(curves.expected[index].r,
                  analogueExpectationOf(productMoments(stepAmplitudes[index]), settling).r);
    }
}

TEST(Efficiency, LowSignalLimitAndWhereClippingStopsCosting) {
    // 4 f(0)^2 sigma^2 with f(0) = 115/192 and sigma^2 = 5/12.
    const double limit = 4.0 * (115.0 / 192.0) * (115.0 / 192.0) * (5.0 / 12.0);
    EXPECT_NEAR(lowSignalEfficiency(), limit, 1e-15);
    EXPECT_NEAR(limit, 0.597918, 1e-6);
    const AnalogueCurves curves = analogueCurves({800, 20000});
    EXPECT_NEAR(curves.efficiency[0], limit, 1e-6); // -60 dB
    EXPECT_NEAR(curves.efficiency[static_cast<std::size_t>(stepOf(-20.0))], limit, 2e-3);
    // Above about 4 dB the clipped correlator does better: its output saturates while the
    // product's own fluctuation grows with the signal.
    EXPECT_LT(curves.efficiency[static_cast<std::size_t>(stepOf(4.0))], 1.0);
    EXPECT_GT(curves.efficiency[static_cast<std::size_t>(stepOf(4.5))], 1.0);
    EXPECT_GT(curves.efficiency[240], 30.0);
}

TEST(ChiSquare, UpperTailAgainstClosedFormsAndASeries) {
    for (const double x : {0.5, 2.0, 10.0, 40.0}) {
        EXPECT_NEAR(chiSquareUpperTail(x, 2), std::exp(-x / 2.0), 1e-15) << x;
        EXPECT_NEAR(chiSquareUpperTail(x, 4), std::exp(-x / 2.0) * (1.0 + x / 2.0), 1e-15) << x;
    }
    // 241 degrees of freedom: P(a, x) = e^-x x^a / Gamma(a + 1) * sum x^n / ((a+1) ... (a+n)).
    for (const double x : {180.0, 241.0, 300.0}) {
        const double a = 120.5;
        const double half = x / 2.0;
        double term = 1.0;
        double sum = 1.0;
        for (int n = 1; n < 2000; ++n)
            sum += term *= half / (a + n);
        const double lower = std::exp(-half + a * std::log(half) - std::lgamma(a + 1.0)) * sum;
        EXPECT_NEAR(chiSquareUpperTail(x, 241), 1.0 - lower, 1e-12) << x;
    }
}

TEST(Inversion, UndoesTheRedCurveAndTheArcsineLaw) {
    for (int i = stepOf(-40.0); i <= stepOf(40.0); ++i) {
        const auto index = static_cast<std::size_t>(i);
        const auto red = estimateInput(stepTheory[index], 3.14);
        const auto arcsine = estimateInput(stepArcsineLaw[index]);
        ASSERT_TRUE(red && arcsine) << "step " << i;
        EXPECT_NEAR(red->snrDb, siNiOfStep(i), 1e-9);
        EXPECT_NEAR(arcsine->snrDb, siNiOfStep(i), 1e-9);
        const double a2 = stepAmplitudes[index] * stepAmplitudes[index];
        EXPECT_NEAR(red->rho, a2 / (a2 + 1.0), 1e-14);
    }
}

TEST(Inversion, BiasOfTheFiveUniformModel) {
    const auto& p = stepAgreement();
    EXPECT_NEAR(estimateInput(2.0 * p[0] - 1.0)->snrDb - siNiOfStep(0), -0.27, 0.005);
    EXPECT_NEAR(estimateInput(2.0 * p[240] - 1.0)->snrDb - siNiOfStep(240), 0.23, 0.005);
}

TEST(Inversion, NoneWhereNoFiniteSiNiGivesC) {
    const struct {
        const char* name;
        double c;
        bool some;
    } cases[] = {{"c = 0", 0.0, false},
                 {"c below 0", -0.3, false},
                 {"c = 1", 1.0, false},
                 {"c so near 1 that rho rounds to 1", 1.0 - 0x1p-53, false},
                 {"c = 0.9999, 79 dB", 0.9999, true},
                 {"c above 1", 1.5, false},
                 {"c not a number", std::nan(""), false},
                 {"the least c above 0", 0x1p-1074, true}};
    for (const auto& c : cases) {
        const auto input = estimateInput(c.c);
        EXPECT_EQ(input.has_value(), c.some) << c.name;
        if (input) {
            EXPECT_TRUE(std::isfinite(input->snrDb)) << c.name;
            EXPECT_LT(input->rho, 1.0) << c.name;
        }
    }
}

TEST(RunAnalysis, ExtremeRunsGiveOnlyFiniteNumbers) {
    const struct {
        const char* name;
        double p;
    } runs[] = {{"every P = 1 (c = 1)", 1.0}, {"every P = 0 (c = -1)", 0.0}, {"every c = 0", 0.5}};
    for (const auto& run : runs)
        for (const RunParameters parameters : {RunParameters{100, 20000}, {6400, 200000}}) {
            SCOPED_TRACE(std::string(run.name) + ", Beta " + std::to_string(parameters.beta));
            std::array<double, simulationStepCount> p;
            p.fill(run.p);
            const RunAnalysis analysis = analyseRun(parameters, p);
            for (const StepAnalysis& step : analysis.steps) {
                EXPECT_TRUE(std::isfinite(step.z) && std::isfinite(step.expected.c) &&
                            std::isfinite(step.expected.sd));
                EXPECT_FALSE(step.input.has_value());
            }
            for (const FitSummary& fit : {analysis.model, analysis.arcsine}) {
                EXPECT_TRUE(std::isfinite(fit.chiSquare));
                EXPECT_GE(fit.pValue, 0.0);
                EXPECT_LE(fit.pValue, 1.0);
            }
            const std::string line = fitLine(analysis);
            EXPECT_EQ(line.find("inf"), std::string::npos) << line;
            EXPECT_EQ(line.find("nan"), std::string::npos) << line;
        }
}

TEST(RunAnalysis, TheModelsOwnMeansFitExactly) {
    const ExpectedCurves curves = expectedCurves({6400, 20000});
    std::array<double, simulationStepCount> p;
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = (1.0 + curves.model[i].c) / 2.0;
    const RunAnalysis analysis = analyseRun({6400, 20000}, p);
    EXPECT_LT(analysis.model.chiSquare, 1e-20);
    EXPECT_EQ(analysis.model.pValue, 1.0);
    // The arcsine law lies apart from the model by several standard deviations here and there.
    EXPECT_GT(analysis.arcsine.chiSquare, 1.0);
    const AnalogueCurves analogue = analogueCurves({6400, 20000});
    std::array<double, simulationStepCount> r;
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = analogue.expected[i].r;
    const RunAnalysis both = analyseRun({6400, 20000}, p, r);
    ASSERT_TRUE(both.analogue.has_value());
    EXPECT_LT(both.analogue->chiSquare, 1e-20);
    EXPECT_EQ(both.model.chiSquare, analysis.model.chiSquare);
}

namespace {

struct DecimalComma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

} // namespace

TEST(FitLine, FourSignificantDigitsWithAPointInAnyLocale) {
    RunAnalysis analysis{};
    analysis.model = {244.2, 1.01328, 0.429812};
    analysis.arcsine = {268.0, 1.11199, 0.112};
    const std::locale previous = std::locale::global(std::locale(std::locale(), new DecimalComma));
    const std::string line = fitLine(analysis);
    std::locale::global(previous);
    EXPECT_EQ(line, "fit: model chi2/dof=1.013 p=0.4298; arcsine chi2/dof=1.112 p=0.1120");
    analysis.pValueIsApproximate = true;
    analysis.model.pValue = 3.21e-9;
    EXPECT_EQ(fitLine(analysis), "fit: model chi2/dof=1.013 p=3.210e-09; arcsine chi2/dof=1.112 "
                                 "p=0.1120 (p approximate below Beta 800)");
    analysis.analogue = FitSummary{240.0, 0.98765, 0.54321};
    EXPECT_EQ(fitLine(analysis), "fit: model chi2/dof=1.013 p=3.210e-09; arcsine chi2/dof=1.112 "
                                 "p=0.1120; analogue chi2/dof=0.9877 p=0.5432; efficiency=0.5979 "
                                 "(p approximate below Beta 800)");
}
