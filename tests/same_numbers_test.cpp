// Numbers that would otherwise depend on the C library's maths. Guards against: a step amplitude,
// a step's theoretical Crt or its arcsine law that is not what glibc gives (checked to the last bit
// on glibc, and within the stated bound elsewhere); a portable sine, logarithm or power that strays
// from the library's; a theoretical curve that drifts from the reference build by
// more than the README states (the same on glibc; within 2 units in the last place of Crt, with
// the same plotted heights, on another C library); an instruction set whose run differs from the
// reference build's; and a shortest decimal found with printf (the page's, whose library has no
// floating-point to_chars) that differs from std::to_chars. The command line's bytes are compared
// by the cli_*_reference tests.

#include "chart_geometry.h"
#include "correlator.h"
#include "correlator_kernel.h"
#include "portable_math.h"
#include "shortest_decimal.h"
#include "step_constants.h"
#include "theory.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>
#include <version>

using namespace correlatore;

namespace {

#ifdef __GLIBC__
constexpr bool referenceMathsLibrary = true;
#else
constexpr bool referenceMathsLibrary = false;
#endif

// The largest difference measured from the reference build's Crt (mingw-w64 under wine: 25 of
// 1200 points differ, none by more than this).
constexpr std::int64_t theoryUlpElsewhere = 2;

std::int64_t ulpDistance(double a, double b) {
    std::int64_t ia = 0, ib = 0;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    return std::llabs(ia - ib); // the values compared here are positive
}

// Column `column` of a reference CSV file, as numbers.
std::vector<double> referenceColumn(const char* file, int column) {
    std::ifstream in(std::string(CORRELATORE_REFERENCE_DIR "/") + file);
    std::vector<double> values;
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i <= column; ++i)
            std::getline(fields, field, ',');
        values.push_back(std::strtod(field.c_str(), nullptr));
    }
    return values;
}

struct ReferenceRow {
    double s, crt;
    float y;
};

std::vector<ReferenceRow> referenceTheory() {
    std::ifstream in(CORRELATORE_REFERENCE_DIR "/theory.csv");
    std::vector<ReferenceRow> rows;
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string s, crt, x, y;
        std::getline(fields, s, ',');
        std::getline(fields, crt, ',');
        std::getline(fields, x, ',');
        std::getline(fields, y, ',');
        rows.push_back({std::strtod(s.c_str(), nullptr), std::strtod(crt.c_str(), nullptr),
                        std::strtof(y.c_str(), nullptr)});
    }
    return rows;
}

} // namespace

TEST(StepAmplitudes, AreTheLibrarysPowers) {
    for (int i = 0; i < simulationStepCount; ++i) {
        const double computed = std::pow(10.0, siNiOfStep(i) / 20.0);
        const double fixed = stepAmplitudes[static_cast<std::size_t>(i)];
        if (referenceMathsLibrary)
            EXPECT_EQ(fixed, computed) << "step " << i;
        else
            EXPECT_LE(ulpDistance(fixed, computed), 1) << "step " << i;
    }
    EXPECT_EQ(stepAmplitudes.front(), 0.001);
    EXPECT_EQ(stepAmplitudes[120], 1.0); // 0 dB
    EXPECT_EQ(stepAmplitudes.back(), 1000.0);
}

TEST(StepTheory, IsTheTheoryAtEachStep) {
    for (int i = 0; i < simulationStepCount; ++i) {
        const double computed = theoreticalCorrelation(siNiOfStep(i));
        const double fixed = stepTheory[static_cast<std::size_t>(i)];
        if (referenceMathsLibrary)
            EXPECT_EQ(fixed, computed) << "step " << i;
        else
            EXPECT_LE(ulpDistance(fixed, computed), theoryUlpElsewhere) << "step " << i;
    }
}

TEST(StepArcsineLaw, IsTheLibrarysArcsine) {
    for (int i = 0; i < simulationStepCount; ++i) {
        const double a2 = stepAmplitudes[static_cast<std::size_t>(i)] *
                          stepAmplitudes[static_cast<std::size_t>(i)];
        const double computed =
            (2.0 / std::numbers::pi) * std::atan(a2 / std::sqrt(2.0 * a2 + 1.0));
        const double fixed = stepArcsineLaw[static_cast<std::size_t>(i)];
        if (referenceMathsLibrary)
            EXPECT_EQ(fixed, computed) << "step " << i;
        else
            EXPECT_LE(ulpDistance(fixed, computed), theoryUlpElsewhere) << "step " << i;
        // The arcsine itself, where rho = A^2 / (A^2 + 1) still has its digits.
        if (a2 < 100.0) {
            EXPECT_NEAR(fixed, (2.0 / std::numbers::pi) * std::asin(a2 / (a2 + 1.0)), 1e-15);
        }
    }
}

TEST(PortableMaths, StaysWithTheLibrary) {
    for (double x = -2.0; x <= 2.0; x += 0.001)
        EXPECT_NEAR(portableSine(x), std::sin(x), 4e-16 * std::fabs(std::sin(x))) << x;
    for (double x = 0x1p-1070; x < 1e300; x *= 1.37)
        EXPECT_NEAR(portableLog10(x), std::log10(x), 4e-16 * std::fabs(std::log10(x))) << x;
    for (double x = 0.5; x < 2.0; x += 0.01)
        EXPECT_NEAR(portableLog10(x), std::log10(x), 2e-16) << x;
    for (const double q : {1.0 - 1.0 / 100, 1.0 - 1.0 / 6400})
        for (const long n : {1L, 2L, 20001L, 400002L})
            EXPECT_NEAR(portablePower(q, n), std::pow(q, static_cast<double>(n)),
                        static_cast<double>(n) * 0x1p-52 * std::pow(q, static_cast<double>(n)));
}

TEST(TheoryRows, MatchTheReferenceBuild) {
    const std::vector<ReferenceRow> reference = referenceTheory();
    ASSERT_EQ(reference.size(), 1200u) << "cannot read " CORRELATORE_REFERENCE_DIR "/theory.csv";
    std::size_t row = 0;
    std::int64_t largest = 0;
    sweepTheory([&](const TheoryPoint& p) {
        ASSERT_LT(row, reference.size());
        const ReferenceRow& want = reference[row++];
        ASSERT_EQ(p.s, want.s) << "row " << row;
        largest = std::max(largest, ulpDistance(p.crt, want.crt));
        EXPECT_EQ(chart::yOfCoefficient(p.crt), want.y) << "row " << row;
    });
    EXPECT_EQ(row, reference.size());
    EXPECT_LE(largest, referenceMathsLibrary ? 0 : theoryUlpElsewhere);
    std::printf("largest difference from the reference build's Crt: %lld ulp\n",
                static_cast<long long>(largest));
}

TEST(SimulationRuns, MatchTheReferenceBuildOnEveryInstructionSet) {
    // simulate_seed_2026_analogue.csv is `correlatore-cli simulate --seed 2026 --beta 800
    // --analogue`: p in column 1, the analogue estimate r in column 11.
    const std::vector<double> referenceP = referenceColumn("simulate_seed_2026_analogue.csv", 1);
    const std::vector<double> referenceR = referenceColumn("simulate_seed_2026_analogue.csv", 11);
    ASSERT_EQ(referenceP.size(), 241u);
    ASSERT_EQ(referenceR.size(), 241u);
    for (const KernelVariant& kernel : availableKernels())
        for (const bool analogue : {false, true}) {
            std::vector<double> p, r;
            SimulationOptions options{{800, 20000}, 2026, 2, std::string(kernel.isa)};
            options.analogue = analogue;
            ASSERT_TRUE(simulate(options, [&](const StepResult& step) {
                p.push_back(step.p);
                r.push_back(step.r);
            }));
            EXPECT_EQ(p, referenceP) << kernel.isa << (analogue ? " with the analogue" : "");
            if (analogue) {
                EXPECT_EQ(r, referenceR) << kernel.isa;
            }
        }
}

TEST(ShortestDecimals, FoundWithPrintfAreThoseOfToChars) {
#if !defined(__cpp_lib_to_chars)
    GTEST_SKIP() << "this standard library has no floating-point std::to_chars to compare with";
#elif defined(_WIN32)
    // The printf route serves only a library without to_chars (the page's); the Windows C
    // library's printf and strtod do not round every extreme value correctly (2^-759 came out one
    // digit short), and the program uses to_chars there.
    GTEST_SKIP() << "the C library's printf and strtod are not correctly rounded here";
#else
    std::vector<double> doubles = {0.0,
                                   -0.0,
                                   1.0,
                                   -60.0,
                                   0.5,
                                   1e-5,
                                   1.5e-5,
                                   1e20,
                                   123456789.0,
                                   0.1,
                                   1.0 / 3.0,
                                   5e-324,
                                   1.7976931348623157e308};
    for (int e = -1074; e <= 1023; e += 7)
        doubles.push_back(std::ldexp(1.0, e)); // where the gap below is half the gap above
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 20000; ++i)
        doubles.push_back(std::ldexp(mantissa(random), exponent(random)));
    for (const double value : doubles) {
        const float single = static_cast<float>(value);
        ASSERT_EQ(shortestDecimalByPrintf(value), shortestDecimal(value)) << value;
        if (std::isfinite(single)) {
            ASSERT_EQ(shortestDecimalByPrintf(single), shortestDecimal(single)) << single;
        }
    }
#endif
}
