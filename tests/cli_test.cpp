// correlatore-cli as a user runs it. Guards against: usage errors that exit 0 or 1, print several
// lines or write to stdout; help and version that fail; a CSV with a wrong header or row count;
// values that do not read back to the same numbers; a seed that does not repeat a run or depends on
// the thread count; and an unwritable output that leaves a partial file behind.

#include "run_program.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

ProgramResult run(const std::vector<std::string>& arguments) { return runProgram(cli, arguments); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        result.push_back(field);
    return result;
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* mentions;
};

} // namespace

TEST(Cli, UsageErrorsExitTwoWithOneLineOnStderr) {
    const UsageCase cases[] = {
        {"no subcommand", {}, "theory"},
        {"unknown subcommand", {"plot"}, "plot"},
        {"unknown option", {"theory", "--colour"}, "--colour"},
        {"beta not an item", {"simulate", "--beta", "150"}, "100, 200, 400, 800, 1600, 3200, 6400"},
        {"beta with a blank", {"simulate", "--beta", " 100"}, "100, 200"},
        {"nm not an item", {"simulate", "--nm", "2000"}, "20000, 200000"},
        {"seed not a number", {"simulate", "--seed", "abc"}, "--seed"},
        {"no threads", {"simulate", "--threads", "0"}, "--threads"},
        {"option without value", {"theory", "--out"}, "--out"},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramResult result = run(c.arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(lines(result.err).size(), 1u) << result.err;
        EXPECT_NE(result.err.find(c.mentions), std::string::npos) << result.err;
    }
}

TEST(Cli, HelpAndVersionSucceed) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"theory", "--help"}, {"simulate", "--help"},
          {"--version"}}) {
        const ProgramResult result = run(arguments);
        EXPECT_EQ(result.exitStatus, 0) << arguments.front();
        EXPECT_FALSE(result.out.empty());
    }
}

TEST(Cli, TheoryCsvReadsBackToTheSameNumbers) {
    const ProgramResult result = run({"theory"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const auto rows = lines(result.out);
    ASSERT_EQ(rows.size(), 1201u);
    EXPECT_EQ(rows.front(), "s,crt,x,y");
    const auto last = fields(rows.back());
    ASSERT_EQ(last.size(), 4u);
    EXPECT_EQ(std::stod(last[0]), 59.900000000001164);
    EXPECT_EQ(std::stod(last[1]), 0.9995960114784852);
    EXPECT_EQ(std::stof(last[3]), 1.2927632f);
    EXPECT_EQ(result.err, "");
}

TEST(Cli, SimulateRepeatsWithTheSeedForAnyThreadCount) {
    const ProgramResult one = run({"simulate", "--seed", "9", "--threads", "1"});
    const ProgramResult two = run({"simulate", "--seed", "9", "--threads", "2"});
    const ProgramResult eight = run({"simulate", "--seed", "9", "--threads", "8", "--beta", "100"});
    ASSERT_EQ(one.exitStatus, 0) << one.err;
    EXPECT_EQ(one.out, two.out);
    EXPECT_EQ(one.out, eight.out);
    const auto rows = lines(one.out);
    ASSERT_EQ(rows.size(), 242u);
    EXPECT_EQ(rows.front(), "s,p,px,py");
    EXPECT_EQ(fields(rows[1])[2], "0");
    EXPECT_EQ(fields(rows.back())[0], "60");
    EXPECT_EQ(fields(rows.back())[2], "9200");
    EXPECT_NE(run({"simulate", "--seed", "10"}).out, one.out);
}

TEST(Cli, SimulateWithoutSeedPrintsTheOneItUsed) {
    const ProgramResult result = run({"simulate"});
    ASSERT_EQ(result.exitStatus, 0);
    ASSERT_EQ(result.err.rfind("seed: ", 0), 0u) << result.err;
    const std::string seed = result.err.substr(6, result.err.find('\n') - 6);
    EXPECT_EQ(run({"simulate", "--seed", seed}).out, result.out);
}

TEST(Cli, OutputFileAppearsWholeOrNotAtAll) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("cli_test_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path good = dir / "theory.csv";
    ProgramResult result = run({"theory", "--out", good.string()});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "");
    std::ifstream in(good);
    EXPECT_EQ(lines(std::string(std::istreambuf_iterator<char>(in), {})).size(), 1201u);

    const struct {
        const char* name;
        fs::path path;
    } unwritable[] = {{"missing folder", dir / "missing" / "x.csv"}, {"a folder", dir}};
    for (const auto& c : unwritable) {
        SCOPED_TRACE(c.name);
        for (const char* command : {"theory", "simulate"}) {
            result = run({command, "--out", c.path.string()});
            EXPECT_EQ(result.exitStatus, 1);
            EXPECT_NE(result.err.find("cannot write"), std::string::npos) << result.err;
            EXPECT_EQ(result.out, "");
        }
    }
    // Nothing but the one good file was left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}
