// What simulate and expect tell about the model. Guards against: a fit line in another form or
// missing, inf or NaN in the new columns of an extreme run (Beta 100: c <= 0 at low Si/Ni, c within
// 1e-13 of 1 at high), an inversion printed where it has no finite value, expect rows that are not
// the model's, an expect that takes a --beta or --nm that simulate refuses, and --analogue columns
// that are missing, change the clipped ones, or do not hold the analogue correlator's numbers.

#include "csv_rows.h"
#include "run_program.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

// The rows below the header.
std::vector<std::vector<std::string>> rowsOf(const std::string& csv) {
    auto rows = csvRows(csv);
    if (!rows.empty())
        rows.erase(rows.begin());
    return rows;
}

} // namespace

TEST(CliFit, SimulatePrintsTheFitLineAfterItsRows) {
    const ProgramResult result = runProgram(cli, {"simulate", "--seed", "2026", "--beta", "800"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "fit: model chi2/dof=1.002 p=0.4780; arcsine chi2/dof=1.016 p=0.4168\n");
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')),
              "s,p,px,py,c,crt,c_model,sd,z,rho_hat,snr_db_hat");
}

TEST(CliFit, AnExtremeRunHasNoInfinityAndNoNaN) {
    const ProgramResult result = runProgram(cli, {"simulate", "--seed", "3", "--beta", "100"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(result.err.starts_with("fit: model chi2/dof=")) << result.err;
    EXPECT_TRUE(result.err.ends_with(" (p approximate below Beta 800)\n")) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    int empty = 0;
    for (const auto& row : rowsOf(result.out)) {
        ASSERT_EQ(row.size(), 11u);
        // No inversion where c <= 0, or where c is so near 1 that sin(pi c / 2) rounds to 1.
        const double c = std::strtod(row[4].c_str(), nullptr);
        EXPECT_EQ(row[9].empty(), row[10].empty()) << row[0] << " dB";
        if (row[9].empty())
            EXPECT_TRUE(c <= 0.0 || c > 1.0 - 1e-12) << row[0] << " dB";
        else
            EXPECT_GT(c, 0.0) << row[0] << " dB";
        empty += c <= 0.0;
        for (const std::string& field : row) {
            if (!field.empty()) {
                EXPECT_TRUE(std::isfinite(std::strtod(field.c_str(), nullptr))) << field;
            }
        }
    }
    EXPECT_GT(empty, 20); // at Beta 100 the low Si/Ni steps scatter around c = 0
}

TEST(CliFit, ExpectWritesTheModelsCurvesForTheGivenParameters) {
    const ProgramResult result = runProgram(cli, {"expect", "--beta", "800", "--nm", "200000"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "s,c_model,sd,c_arcsine,crt");
    const auto rows = rowsOf(result.out);
    ASSERT_EQ(rows.size(), 241u);
    EXPECT_EQ(rows[120][0], "0");
    EXPECT_NEAR(std::strtod(rows[120][1].c_str(), nullptr), 1.0 / 3.0, 1e-15); // settled
    EXPECT_NEAR(std::strtod(rows[120][3].c_str(), nullptr), 1.0 / 3.0, 1e-15);
    EXPECT_NEAR(std::strtod(rows[120][2].c_str(), nullptr), 2.0 * std::sqrt(2.0 / 9.0 / 1599.0),
                1e-15);
    EXPECT_EQ(rows[120][4], "0.33350240483968085");
}

TEST(CliFit, TheAnalogueColumnsFollowTheClippedOnesAndTheFitLineSaysWhatClippingCosts) {
    const std::vector<std::string> arguments{"simulate", "--seed", "2026", "--beta", "800"};
    std::vector<std::string> withAnalogue = arguments;
    withAnalogue.push_back("--analogue");
    const ProgramResult clipped = runProgram(cli, arguments);
    const ProgramResult both = runProgram(cli, withAnalogue);
    ASSERT_EQ(both.exitStatus, 0) << both.err;
    EXPECT_EQ(both.err, "fit: model chi2/dof=1.002 p=0.4780; arcsine chi2/dof=1.016 p=0.4168; "
                        "analogue chi2/dof=0.9566 p=0.6747; efficiency=0.5979\n");
    const auto header = csvRows(both.out).front();
    EXPECT_EQ(std::vector<std::string>(header.begin() + 11, header.end()),
              (std::vector<std::string>{"r", "r_model", "r_sd", "eta"}));
    const auto rows = rowsOf(both.out);
    const auto clippedRows = rowsOf(clipped.out);
    ASSERT_EQ(rows.size(), 241u);
    ASSERT_EQ(clippedRows.size(), 241u);
    double chiSquare = 0.0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 15u);
        EXPECT_EQ(std::vector<std::string>(rows[i].begin(), rows[i].begin() + 11), clippedRows[i]);
        const double r = std::strtod(rows[i][11].c_str(), nullptr);
        const double mean = std::strtod(rows[i][12].c_str(), nullptr);
        const double sd = std::strtod(rows[i][13].c_str(), nullptr);
        chiSquare += (r - mean) * (r - mean) / (sd * sd);
    }
    EXPECT_NEAR(chiSquare / 241.0, 0.9566, 0.00005); // the fit line's, from the printed columns
}

TEST(CliFit, ExpectAddsTheAnalogueCorrelatorsCurvesAndTheEfficiency) {
    const ProgramResult result =
        runProgram(cli, {"expect", "--beta", "800", "--nm", "200000", "--analogue"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')),
              "s,c_model,sd,c_arcsine,crt,r_model,r_sd,eta");
    const auto rows = rowsOf(result.out);
    ASSERT_EQ(rows.size(), 241u);
    // At 0 dB rho = 1/2, the product's variance (1.76 + 2 + 1) / 4 = 1.19, and with P's 2/3
    // eta = (1/3) sqrt(1.19) / (2 (1/2) sqrt(2/9)) = sqrt(0.595).
    EXPECT_NEAR(std::strtod(rows[120][5].c_str(), nullptr), 0.5, 1e-15);
    EXPECT_NEAR(std::strtod(rows[120][6].c_str(), nullptr), std::sqrt(1.19 / 1599.0), 1e-15);
    EXPECT_NEAR(std::strtod(rows[120][7].c_str(), nullptr), std::sqrt(0.595), 1e-14);
    EXPECT_NEAR(std::strtod(rows[0][7].c_str(), nullptr), 0.597918, 1e-6);
}

TEST(CliFit, ExpectRefusesWhatSimulateRefuses) {
    const std::vector<std::string> refused[] = {{"--beta", "0800"},
                                                {"--beta", "800 "},
                                                {"--nm", "2e4"},
                                                {"--seed", "1"},
                                                {"--threads", "2"}};
    for (const auto& arguments : refused) {
        std::vector<std::string> expect{"expect"};
        expect.insert(expect.end(), arguments.begin(), arguments.end());
        const ProgramResult result = runProgram(cli, expect);
        EXPECT_EQ(result.exitStatus, 2) << arguments[0] << " " << arguments[1];
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(arguments[0]), std::string::npos) << result.err;
    }
}
