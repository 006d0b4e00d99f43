// The theoretical sweep and the run parameters. Guards against: an exact (non-accumulated) counter,
// pi instead of 3.14 or a changed order of operations (caught to the last bit), a 1201st point, a
// floating-point fault that is not reported or that loses the points already drawn, underflow
// taken for a fault, and a list text that is trimmed or converted to a number.

#include "chart_geometry.h"
#include "run_parameters.h"
#include "run_time_error.h"
#include "theory.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace correlatore;

namespace {

std::vector<TheoryPoint> sweep(CorrelationFormula formula = theoreticalCorrelation) {
    std::vector<TheoryPoint> points;
    sweepTheory([&](const TheoryPoint& p) { points.push_back(p); }, formula);
    return points;
}

struct KnownPoint {
    const char* name;
    std::size_t index;
    double s, crt;
    float x, y;
};

// Values of the classic arithmetic, to the last bit (printed with %.17g / %.9g).
const KnownPoint knownPoints[] = {
    {"first point at -60 dB", 0, -60.0, 6.369420382173036e-07, 0.0f, 3199.998f},
    {"601st point just past 0 dB", 600, 5.837275107722917e-13, 0.3335024048397055, 4600.0f,
     2132.7922f},
    {"901st point near 30 dB", 900, 30.000000000000743, 0.9720341332068019, 6900.0f, 89.490776f},
    {"last point at 59.9 dB", 1199, 59.900000000001164, 0.9995960114784852, 9192.333f, 1.2927632f},
};

} // namespace

TEST(TheorySweep, DrawsTwelveHundredPointsAndNoneAtSixty) {
    const auto points = sweep();
    ASSERT_EQ(points.size(), 1200u);
    EXPECT_EQ(points.back().s, 59.900000000001164);
    for (const auto& p : points)
        EXPECT_NE(chart::xOfSiNi(p.s), 9200.0f);
}

TEST(TheorySweep, KnownPointsToTheLastBit) {
    const auto points = sweep();
    for (const KnownPoint& k : knownPoints) {
        SCOPED_TRACE(k.name);
        const TheoryPoint& p = points.at(k.index);
        EXPECT_EQ(p.s, k.s);
#ifdef __GLIBC__
        EXPECT_EQ(p.crt, k.crt);
#else // another C library's pow and atan: within 2 units in the last place (same_numbers_test)
        EXPECT_NEAR(p.crt, k.crt, 2 * std::numeric_limits<double>::epsilon() * k.crt);
#endif
        EXPECT_EQ(chart::xOfSiNi(p.s), k.x);
        EXPECT_EQ(chart::yOfCoefficient(p.crt), k.y);
    }
}

TEST(TheorySweep, PointsAreEvenlySpacedAlongX) {
    const auto points = sweep();
    for (std::size_t i = 1; i < points.size(); ++i) {
        const float dx = chart::xOfSiNi(points[i].s) - chart::xOfSiNi(points[i - 1].s);
        ASSERT_NEAR(dx, 9200.0 / 1200.0, 2e-3) << "between points " << i - 1 << " and " << i;
    }
}

namespace {

// Faulty formulas for the error path: the fault strikes at s >= 0, the 601st point.
volatile double zero = 0.0;
double invalidAtZero(double s) {
    return s >= 0.0 ? zero / zero : theoreticalCorrelation(s);
}
double divisionByZeroAtZero(double s) {
    return s >= 0.0 ? 1.0 / zero : theoreticalCorrelation(s);
}
double overflowAtZero(double s) {
    volatile double big = 1e308;
    return s >= 0.0 ? big * 10.0 : theoreticalCorrelation(s);
}

} // namespace

TEST(TheorySweep, FloatingPointFaultEndsTheSweepAndKeepsEarlierPoints) {
    const struct {
        const char* name;
        CorrelationFormula formula;
        int code;
    } faults[] = {{"invalid", invalidAtZero, error_code::floatingPointInvalid},
                  {"division by zero", divisionByZeroAtZero, error_code::divisionByZero},
                  {"overflow", overflowAtZero, error_code::overflow}};
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.name);
        std::vector<TheoryPoint> drawn;
        try {
            sweepTheory([&](const TheoryPoint& p) { drawn.push_back(p); }, fault.formula);
            ADD_FAILURE() << "no run-time error";
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.code(), fault.code);
        }
        EXPECT_EQ(drawn.size(), 600u);
    }
}

TEST(TheorySweep, UnderflowAndInexactAreNotFaults) {
    static volatile double tiny = 1e-308;
    const auto underflowing = [](double s) {
        return theoreticalCorrelation(s) + tiny * 1e-100 * 0.0;
    };
    EXPECT_EQ(sweep(underflowing).size(), 1200u);
}

// ---- Run parameters -------------------------------------------------------------------------

TEST(RunParameters, RecognisesEveryItemExactly) {
    const std::int16_t betas[] = {100, 200, 400, 800, 1600, 3200, 6400};
    for (std::size_t i = 0; i < betaItems.size(); ++i)
        EXPECT_EQ(readRunParameters(betaItems[i], "200000"), (RunParameters{betas[i], 200000}))
            << betaItems[i];
    EXPECT_EQ(readRunParameters("6400", "200000"), (RunParameters{6400, 200000}));
    EXPECT_EQ(readRunParameters("100", "20000"), defaultRunParameters);
}

TEST(RunParameters, AnythingElseGivesTheDefaults) {
    const char* notItems[] = {"Beta", "Nm campioni", "",     " 100",   "100 ",  "0100",  "100.0",
                              "150",  "1e2",         "+100", "２００", "100\n", "6400 ", "200000 "};
    for (const char* text : notItems) {
        EXPECT_EQ(readRunParameters(text, "200000").beta, 100) << '"' << text << '"';
        EXPECT_EQ(readRunParameters("800", text).nm, 20000) << '"' << text << '"';
    }
    EXPECT_EQ(readRunParameters("800", " 200000").nm, 20000);
    EXPECT_EQ(readRunParameters("800", "020000").nm, 20000);
}
