// correlatore-cli as a user runs it. Guards against: usage errors that exit 0 or 1, print several
// lines or write to stdout; help and version that fail; a CSV with a wrong header or row count;
// values that do not read back to the same numbers; a seed that does not repeat a run or depends on
// the thread count; and an unwritable output that leaves a partial file behind.

#include "run_program.h"
#include "scratch_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

ProgramResult run(const std::vector<std::string>& arguments) {
    return runProgram(cli, arguments);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream in(line + ','); // so that an empty last field counts too
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
        {"picture without --out", {"render"}, "--out"},
        {"jpeg picture", {"render", "--out", "chart.jpg"}, ".png or .svg"},
        {"picture without suffix", {"render", "--out", "chart"}, ".png or .svg"},
        {"scale too large", {"render", "--out", "c.png", "--scale", "9"}, "--scale"},
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

// What the message echoes is quoted, with every byte that a terminal acts on written as an escape:
// a newline would split the line, an escape sequence would retitle or clear the terminal.
TEST(Cli, EchoedArgumentsStayOneInertLine) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int exitStatus;
        const char* shows;
    } cases[] = {
        {"a command with a newline", {"plo\nt"}, 2, "'plo\\nt'"},
        {"an option that clears the screen",
         {"theory", "--x\x1b]0;x\a\x1b[2J"},
         2,
         "--x\\e]0;x\\a\\e[2J"},
        {"a Beta with a newline", {"simulate", "--beta", "1\n2"}, 2, "'1\\n2'"},
        {"a seed with a carriage return", {"simulate", "--seed", "7\r"}, 2, "'7\\r'"},
        {"a picture name with a tab", {"render", "--out", "c\t.jpg"}, 2, "'c\\t.jpg'"},
        {"a C1 control and a stray byte", {"plot\xc2\x9b\x9b"}, 2, "'plot\\xc2\\x9b\\x9b'"},
        {"a backslash beside a newline", {"a\\b\n"}, 2, "'a\\\\b\\n'"},
        {"an unwritable file",
         {"theory", "--out", "/nonexistent/\xc3\xa8\x1b[2J\n.csv"},
         1,
         "cannot write '/nonexistent/\xc3\xa8\\e[2J\\n.csv': "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramResult result = run(c.arguments);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.shows), std::string::npos) << result.err;
        ASSERT_FALSE(result.err.empty());
        EXPECT_EQ(result.err.back(), '\n');
        EXPECT_TRUE(std::none_of(result.err.begin(), result.err.end() - 1, [](char byte) {
            return static_cast<unsigned char>(byte) < 0x20 || byte == 0x7f;
        })) << result.err;
    }
}

TEST(Cli, HelpAndVersionSucceed) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"},
                                                      {"theory", "--help"},
                                                      {"simulate", "--help"},
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
    EXPECT_EQ(rows.front(), "s,p,px,py,c,crt,c_model,sd,z,rho_hat,snr_db_hat");
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

// Rows of seed 9, Beta 100, Nm 20000 as the four-column CSV gave them before c and crt were added:
// the old columns must keep their text to the byte, so that existing readers see no change.
TEST(Cli, SimulateKeepsTheFourOldColumnsAndAddsTheChartCoefficientAndTheTheory) {
    const ProgramResult result = run({"simulate", "--seed", "9"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const auto rows = lines(result.out);
    ASSERT_EQ(rows.size(), 242u);
    const struct {
        const char* name;
        std::size_t row;
        const char* oldColumns;
        double crt;
    } cases[] = {
        {"-60 dB", 1, "-60,0.5893778532142832,0,2627.9817", 6.369420382173036e-07},
        {"0 dB, where rho is 1/2", 121, "0,0.680510994107091,4600,2044.7296", 0.33350240483968085},
        {"+60 dB", 241, "60,0.9999999999999929,9200,4.5474735e-11", 0.9996064419247228},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rows[c.row].substr(0, std::string(c.oldColumns).size() + 1),
                  std::string(c.oldColumns) + ",");
        const auto row = fields(rows[c.row]);
        ASSERT_EQ(row.size(), 11u);
        EXPECT_EQ(std::stod(row[5]), c.crt);
    }
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto row = fields(rows[i]);
        ASSERT_EQ(row.size(), 11u) << rows[i];
        // The coefficient the chart plots: its height 3200 - 3200 c is the row's py.
        const double c = std::stod(row[4]);
        EXPECT_EQ(c, 2.0 * std::stod(row[1]) - 1.0) << rows[i];
        EXPECT_NEAR(3200.0 - 3200.0 * c, std::stod(row[3]), 1e-3) << rows[i];
    }
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

    fs::create_directory(dir / "folder.png");
    const struct {
        const char* name;
        fs::path path;
    } unwritable[] = {{"missing folder", dir / "missing" / "x.png"},
                      {"a folder", dir / "folder.png"}};
    for (const auto& c : unwritable) {
        SCOPED_TRACE(c.name);
        for (const char* command : {"theory", "simulate", "render"}) {
            result = run({command, "--out", c.path.string()});
            EXPECT_EQ(result.exitStatus, 1);
            EXPECT_NE(result.err.find("cannot write"), std::string::npos) << result.err;
            EXPECT_EQ(result.out, "");
        }
    }
    // Nothing but the good file and the folder: no partial or temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    fs::remove_all(dir);
}

// ---- Pictures

namespace {

// The picture command needs no display: no X, no Wayland, no Qt platform chosen.
void forgetTheDisplay() {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
}

} // namespace

TEST(CliRender, WritesPngAndSvgWithoutADisplay) {
    forgetTheDisplay();
    ScratchFolder folder("cli_render");
    std::vector<std::vector<std::string>> layouts = {{"--bare"}};
    if (CORRELATORE_RENDER_DRAWS_WINDOW) // the labelled pictures are the window, made offscreen
        layouts.insert(layouts.end(), {{}, {"--window"}});
    for (const std::vector<std::string>& layout : layouts) {
        SCOPED_TRACE(layout.empty() ? "the chart with its labels" : layout.front());
        const auto withLayout = [&](std::vector<std::string> arguments) {
            arguments.insert(arguments.end(), layout.begin(), layout.end());
            return run(arguments);
        };
        ProgramResult result = withLayout({"render", "--out", folder / "chart.png", "--theory"});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(result.err, "");
        const std::string png = fileText(folder / "chart.png");
        EXPECT_EQ(png.substr(1, 3), "PNG");

        result = withLayout({"render", "--out", folder / "chart.SVG", "--simulate", "--seed", "4",
                             "--nm", "20000", "--beta", "800"});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        const std::string svg = fileText(folder / "chart.SVG");
        EXPECT_NE(svg.find("<svg"), std::string::npos);
        std::size_t circles = 0;
        for (std::size_t at = 0; (at = svg.find("<circle", at)) != std::string::npos; ++at)
            ++circles;
        EXPECT_EQ(circles, 241u);
        // The same seed gives the same picture.
        ASSERT_EQ(withLayout({"render", "--out", folder / "again.svg", "--simulate", "--seed", "4",
                              "--beta", "800"})
                      .exitStatus,
                  0);
        EXPECT_EQ(fileText(folder / "again.svg"), svg);
    }
    const ProgramResult both = run({"render", "--out", folder / "c.png", "--window", "--bare"});
    EXPECT_EQ(both.exitStatus, 2);
    EXPECT_EQ(lines(both.err).size(), 1u) << both.err;
}

// ---- Any arguments at all

TEST(CliProperty, RandomArgumentListsOnlyEverExitZeroOneOrTwo) {
    forgetTheDisplay();
    ScratchFolder folder("cli_fuzz");
    std::filesystem::create_directory(folder / "dir.png");
    const std::vector<std::string> words = {"theory",
                                            "simulate",
                                            "render",
                                            "--out",
                                            folder / "a.csv",
                                            folder / "b.png",
                                            folder / "c.svg",
                                            folder / "dir.png",
                                            folder / "no/d.svg",
                                            "--beta",
                                            "100",
                                            "6400",
                                            "150",
                                            "--nm",
                                            "20000",
                                            "2e4",
                                            "--seed",
                                            "0",
                                            "18446744073709551615",
                                            "18446744073709551616",
                                            "-1",
                                            "--threads",
                                            "1",
                                            "3",
                                            "100000",
                                            "--scale",
                                            "8",
                                            "0",
                                            "--theory",
                                            "--simulate",
                                            "--band",
                                            "--analogue",
                                            "--residuals",
                                            "--help",
                                            "--version",
                                            "-h",
                                            "--",
                                            "-",
                                            "",
                                            " ",
                                            "--out=x.png",
                                            "--beta=",
                                            "\xff\xfe",
                                            std::string(5000, 'x'),
                                            "--seed=abc",
                                            "%s%n",
                                            "nan",
                                            "inf",
                                            "/dev/null",
                                            "/dev/full",
                                            "010",
                                            "0x10"};
    const char* fixed = std::getenv("CORRELATORE_TEST_SEED");
    const unsigned seed =
        fixed ? static_cast<unsigned>(std::strtoul(fixed, nullptr, 0)) : 20261207u;
    SCOPED_TRACE("seed " + std::to_string(seed) + " (set CORRELATORE_TEST_SEED to repeat)");
    std::mt19937 random(seed);
    for (int trial = 0; trial < 120; ++trial) {
        std::vector<std::string> arguments(random() % 7);
        for (std::string& argument : arguments)
            argument = words[random() % words.size()];
        const ProgramResult result = run(arguments);
        std::string shown;
        for (const std::string& a : arguments)
            shown += " '" + a.substr(0, 40) + "'";
        ASSERT_EQ(result.signal, 0) << "killed:" << shown;
        ASSERT_TRUE(result.exitStatus >= 0 && result.exitStatus <= 2)
            << "status " << result.exitStatus << ":" << shown << "\n"
            << result.err;
        ASSERT_EQ(result.err.find("Sanitizer"), std::string::npos) << shown << "\n" << result.err;
        ASSERT_EQ(result.err.find("runtime error"), std::string::npos) << shown << "\n"
                                                                       << result.err;
        if (result.exitStatus == 2) {
            ASSERT_EQ(result.out, "") << shown;
        }
    }
    // Written to, never replaced.
    struct stat null {};
    ASSERT_EQ(stat("/dev/null", &null), 0);
    EXPECT_TRUE(S_ISCHR(null.st_mode));
}
