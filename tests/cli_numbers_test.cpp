// correlatore-cli's numbers and option checks as a user types them. Guards against: a seed, thread
// count or scale read as octal or hex, clamped instead of refused, or refused with a message that
// hides the range; options that would be silently ignored; a --version without the program's name.

#include "run_program.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

struct RefusedCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* mentions;
};

const std::string seedRange = "from 0 to 18446744073709551615";

const RefusedCase refusedCases[] = {
    {"a negative seed", {"simulate", "--seed", "-1"}, "from 0 to 18446744073709551615, not '-1'"},
    {"a seed with a plus sign", {"simulate", "--seed=+1"}, "from 0 to 18446744073709551615"},
    {"a hexadecimal seed", {"simulate", "--seed", "0x10"}, "from 0 to 18446744073709551615"},
    {"a seed in exponent form", {"simulate", "--seed", "1e3"}, "from 0 to 18446744073709551615"},
    {"a seed with a blank", {"simulate", "--seed", " 1"}, "from 0 to 18446744073709551615"},
    {"an empty seed", {"simulate", "--seed="}, "18446744073709551615"},
    {"a seed one past the largest",
     {"simulate", "--seed", "18446744073709551616"},
     "from 0 to 18446744073709551615"},
    {"a seed of 23 digits",
     {"simulate", "--seed", "99999999999999999999999"},
     "from 0 to 18446744073709551615"},
    {"no threads",
     {"simulate", "--threads", "0"},
     "--threads: must be a whole number from 1 to 256"},
    {"too many threads", {"simulate", "--threads", "257"}, "from 1 to 256, not '257'"},
    {"negative threads", {"simulate", "--threads=-2"}, "from 1 to 256"},
    {"a fraction of threads", {"simulate", "--threads", "1.5"}, "from 1 to 256"},
    {"scale 0", {"render", "--out", "c.png", "--scale", "0"}, "--scale: must be a whole number"},
    {"scale 9", {"render", "--out", "c.png", "--scale=9"}, "from 1 to 8, not '9'"},
    {"a hexadecimal scale", {"render", "--out", "c.png", "--scale", "0x2"}, "from 1 to 8"},
    {"--beta without --simulate", {"render", "--out", "c.png", "--beta", "800"}, "--simulate"},
    {"--nm without --simulate", {"render", "--out", "c.png", "--nm", "20000"}, "--simulate"},
    {"--seed without --simulate", {"render", "--out", "c.png", "--seed", "1"}, "--simulate"},
    {"--threads without --simulate", {"render", "--out", "c.png", "--threads", "2"}, "--simulate"},
    {"--scale with an SVG", {"render", "--out", "c.svg", "--scale", "2"}, "PNG"},
    {"an empty --out", {"theory", "--out", ""}, "--out"},
};

} // namespace

TEST(CliNumbers, RefusedWithExitTwoAndAMessageThatGivesTheRange) {
    ScratchFolder folder("cli_numbers");
    std::filesystem::current_path(folder.path);
    for (const RefusedCase& c : refusedCases) {
        SCOPED_TRACE(c.name);
        const ProgramResult result = runProgram(cli, c.arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(c.mentions), std::string::npos) << result.err;
    }
    std::filesystem::current_path("/");
    EXPECT_EQ(folder.names(), std::set<std::string>{}); // no picture from a refused command
}

TEST(CliNumbers, LeadingZerosAreDecimal) {
    const struct {
        const char* name;
        std::vector<std::string> written;
        std::vector<std::string> meant;
    } cases[] = {
        {"seed 010 is ten", {"--seed", "010"}, {"--seed", "10"}},
        {"seed 0000 is zero", {"--seed", "0000"}, {"--seed", "0"}},
        {"seed 08 is eight", {"--seed=08"}, {"--seed", "8"}},
        {"the largest seed",
         {"--seed", "018446744073709551615"},
         {"--seed", "18446744073709551615"}},
        {"threads 08 is eight", {"--seed", "3", "--threads", "08"}, {"--seed", "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> written{"simulate"}, meant{"simulate"};
        written.insert(written.end(), c.written.begin(), c.written.end());
        meant.insert(meant.end(), c.meant.begin(), c.meant.end());
        const ProgramResult fromWritten = runProgram(cli, written);
        const ProgramResult fromMeant = runProgram(cli, meant);
        EXPECT_EQ(fromWritten.exitStatus, 0) << fromWritten.err;
        EXPECT_EQ(fromWritten.out.size(), fromMeant.out.size());
        EXPECT_TRUE(fromWritten.out == fromMeant.out);
    }
    // A picture at scale 08 is a picture at scale 8.
    ScratchFolder folder("cli_scale");
    ASSERT_EQ(
        runProgram(cli, {"render", "--bare", "--out", folder / "a.png", "--scale=08"}).exitStatus,
        0);
    ASSERT_EQ(
        runProgram(cli, {"render", "--bare", "--out", folder / "b.png", "--scale", "8"}).exitStatus,
        0);
    EXPECT_TRUE(fileText(folder / "a.png") == fileText(folder / "b.png"));
}

TEST(CliNumbers, VersionNamesTheProgram) {
    const ProgramResult result = runProgram(cli, {"--version"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, std::string("correlatore-cli ") + CORRELATORE_VERSION + "\n");
}
