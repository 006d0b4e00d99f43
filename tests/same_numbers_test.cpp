// Numbers that would otherwise depend on the C library's maths. Guards against: a step amplitude
// or a step's theoretical Crt that is not what glibc gives (checked to the last bit on glibc, and
// within the stated bound elsewhere); a theoretical curve that drifts from the reference build by
// more than the README states (the same on glibc; within 2 units in the last place of Crt, with
// the same plotted heights, on another C library); and an instruction set whose run differs from
// the reference build's. The command line's bytes are compared by the cli_*_reference tests.

#include "chart_geometry.h"
#include "correlator.h"
#include "correlator_kernel.h"
#include "step_constants.h"
#include "theory.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

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
    // simulate_seed_2026.csv is `correlatore-cli simulate --seed 2026 --beta 800`.
    const std::vector<double> reference = referenceColumn("simulate_seed_2026.csv", 1);
    ASSERT_EQ(reference.size(), 241u);
    for (const KernelVariant& kernel : availableKernels()) {
        std::vector<double> p;
        const SimulationOptions options{{800, 20000}, 2026, 2, std::string(kernel.isa)};
        ASSERT_TRUE(simulate(options, [&](const StepResult& step) { p.push_back(step.p); }));
        EXPECT_EQ(p, reference) << kernel.isa;
    }
}
