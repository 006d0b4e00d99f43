// correlatore-cli's --out against hostile targets and interruptions. Guards against: --out
// replacing a FIFO, a device or a symlink with a plain file, a wrong mode, a temporary name too
// long or left behind, and a target damaged by a failure or by a signal during the run.

#include "run_program.h"
#include "scratch_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

// The same bytes every run: what a good theory output must be.
const std::string& theoryCsv() {
    static const std::string csv = runProgram(cli, {"theory"}).out;
    return csv;
}

enum class Kind { Missing, Regular, Fifo, Link, CharacterDevice, Folder };

Kind kindOf(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return Kind::Missing;
    if (S_ISLNK(info.st_mode))
        return Kind::Link;
    if (S_ISFIFO(info.st_mode))
        return Kind::Fifo;
    if (S_ISCHR(info.st_mode))
        return Kind::CharacterDevice;
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Regular;
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Root writes into any folder; a read-only folder refuses it only without that privilege.
std::vector<std::string> asUnprivileged(std::vector<std::string> arguments) {
    if (geteuid() != 0)
        return arguments;
    arguments.insert(arguments.begin(),
                     {"--bounding-set=-dac_override,-dac_read_search,-fowner", cli});
    return arguments;
}

struct TargetCase {
    const char* name;
    std::function<void(const ScratchFolder&)> prepare;
    std::string out; // the --out argument, in the folder
    mode_t umask;
    int exitStatus;
    std::string dataFile;        // the file the data should reach, or leave as it was
    bool newData;                // else the file still holds "old\n"
    mode_t mode;                 // of dataFile afterwards
    std::set<std::string> names; // everything in the folder afterwards: no leftovers
    bool unprivileged = false;
};

const std::string longName = std::string(250, 'n') + ".csv";

const TargetCase targetCases[] = {
    {"a new file", {}, "new.csv", 022, 0, "new.csv", true, 0644, {"new.csv"}},
    {"a new file under umask 077", {}, "new.csv", 077, 0, "new.csv", true, 0600, {"new.csv"}},
    {"a new file under umask 002", {}, "new.csv", 002, 0, "new.csv", true, 0664, {"new.csv"}},
    {"an existing file of mode 600",
     [](const ScratchFolder& f) { writeFile(f / "old.csv", "old\n", 0600); },
     "old.csv",
     022,
     0,
     "old.csv",
     true,
     0600,
     {"old.csv"}},
    {"an existing file of mode 640 under umask 077",
     [](const ScratchFolder& f) { writeFile(f / "old.csv", "old\n", 0640); },
     "old.csv",
     077,
     0,
     "old.csv",
     true,
     0640,
     {"old.csv"}},
    {"a symlink to a file",
     [](const ScratchFolder& f) {
         writeFile(f / "real.csv", "old\n", 0640);
         symlink("real.csv", (f / "link.csv").c_str());
     },
     "link.csv",
     022,
     0,
     "real.csv",
     true,
     0640,
     {"link.csv", "real.csv"}},
    {"a symlink into a subfolder",
     [](const ScratchFolder& f) {
         std::filesystem::create_directory(f / "sub");
         writeFile(f / "sub/real.csv", "old\n", 0600);
         symlink("sub/real.csv", (f / "link.csv").c_str());
     },
     "link.csv",
     022,
     0,
     "sub/real.csv",
     true,
     0600,
     {"link.csv", "sub", "sub/real.csv"}},
    {"a dangling symlink",
     [](const ScratchFolder& f) { symlink("made.csv", (f / "link.csv").c_str()); },
     "link.csv",
     022,
     0,
     "made.csv",
     true,
     0644,
     {"link.csv", "made.csv"}},
    {"a 254-character name", {}, longName, 022, 0, longName, true, 0644, {longName}},
    {"a file in a read-only folder",
     [](const ScratchFolder& f) {
         std::filesystem::create_directory(f / "ro");
         writeFile(f / "ro/data.csv", "old\n", 0644);
         chmod((f / "ro").c_str(), 0555);
     },
     "ro/data.csv",
     022,
     1,
     "ro/data.csv",
     false,
     0644,
     {"ro", "ro/data.csv"},
     true},
    {"a read-only file",
     [](const ScratchFolder& f) { writeFile(f / "kept.csv", "old\n", 0444); },
     "kept.csv",
     022,
     1,
     "kept.csv",
     false,
     0444,
     {"kept.csv"},
     true},
    {"a name in a missing folder", {}, "missing/new.csv", 022, 1, "missing/new.csv", false, 0, {}},
};

} // namespace

TEST(CliOutput, HostileTargetsAreWrittenAsAShellRedirectionWouldButWhole) {
    for (const TargetCase& c : targetCases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_target");
        if (c.prepare)
            c.prepare(folder);
        std::vector<std::string> arguments{"theory", "--out", folder / c.out};
        std::string program = cli;
        if (c.unprivileged && geteuid() == 0) {
            program = "/usr/bin/setpriv";
            arguments = asUnprivileged(arguments);
        }
        ProgramSetup setup;
        setup.umask = c.umask;
        const ProgramResult result = runProgram(program, arguments, setup);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out, "");
        if (c.exitStatus != 0) {
            EXPECT_NE(result.err.find("cannot write '" + folder / c.out + "'"), std::string::npos)
                << result.err;
        }
        if (c.mode != 0) {
            EXPECT_EQ(fileText(folder / c.dataFile) == theoryCsv(), c.newData);
            EXPECT_EQ(fileText(folder / c.dataFile) == "old\n", !c.newData);
            EXPECT_EQ(modeOf(folder / c.dataFile), c.mode);
        }
        if (c.out == "link.csv") {
            EXPECT_EQ(kindOf(folder / c.out), Kind::Link);
        }
        EXPECT_EQ(folder.names(), c.names);
    }
}

TEST(CliOutput, AFifoIsWrittenInPlaceForItsReader) {
    ScratchFolder folder("cli_fifo");
    const std::string fifo = folder / "rows.csv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = fileText(fifo); });
    const ProgramResult result = runProgram(cli, {"theory", "--out", fifo});
    reader.join();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(received == theoryCsv());
    EXPECT_EQ(kindOf(fifo), Kind::Fifo);
    EXPECT_EQ(folder.names(), std::set<std::string>{"rows.csv"});
}

TEST(CliOutput, SpecialNamesKeepTheirMeaning) {
    const struct {
        const char* name;
        std::string out;
        int exitStatus;
        bool dataOnStdout;
    } cases[] = {
        {"- is standard output", "-", 0, true},
        {"/dev/null stays the device", "/dev/null", 0, false},
        {"/dev/stdout is standard output", "/dev/stdout", 0, true},
        {"an empty name is a usage error", "", 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_special");
        std::filesystem::current_path(folder.path);
        const ProgramResult result = runProgram(cli, {"theory", "--out", c.out});
        std::filesystem::current_path("/");
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out == theoryCsv(), c.dataOnStdout);
        EXPECT_EQ(folder.names(), std::set<std::string>{});
    }
    EXPECT_EQ(kindOf("/dev/null"), Kind::CharacterDevice);
}

// ---- Interrupted runs

namespace {

// A pipe whose buffer is full and whose reader never reads: the program blocks on its first
// message ("seed: N"), after its output file was opened and before it could be finished.
struct StalledPipe {
    StalledPipe() {
        pipe2(ends, O_CLOEXEC);
        fcntl(ends[1], F_SETFL, O_NONBLOCK);
        const std::string block(4096, 'x');
        while (write(ends[1], block.data(), block.size()) > 0) {
        }
        while (write(ends[1], "x", 1) > 0) {
        }
        fcntl(ends[1], F_SETFL, 0); // the program's writes block
    }
    ~StalledPipe() {
        closeReader();
        close(ends[1]);
    }
    void closeReader() {
        if (ends[0] >= 0)
            close(ends[0]);
        ends[0] = -1;
    }
    int ends[2] = {-1, -1};
};

// Waits for the program's temporary file; it never appears when the program failed early.
bool temporaryFileAppears(const ScratchFolder& folder, const StartedProgram& program) {
    for (int tries = 0; tries < 30000; ++tries) {
        for (const std::string& name : folder.names())
            if (name.starts_with('.'))
                return true;
        if (hasEnded(program))
            return false;
        usleep(1000);
    }
    return false;
}

} // namespace

TEST(CliOutput, AnInterruptedRunLeavesTheTargetAsItWasAndNothingElse) {
    const struct {
        const char* name;
        int signal;
    } signals[] = {{"SIGINT", SIGINT},
                   {"SIGTERM", SIGTERM},
                   {"SIGHUP", SIGHUP},
                   {"SIGPIPE (stderr's reader gone)", SIGPIPE}};
    std::vector<std::vector<std::string>> commands = {
        {"simulate", "--out", "out.csv"}, {"render", "--bare", "--simulate", "--out", "out.png"}};
#if CORRELATORE_CLI_WRITES_WORKBOOKS
    commands.push_back({"simulate", "--out", "out.xlsx"});
#endif
    unsetenv("DISPLAY");
    for (const auto& c : signals) {
        for (const std::vector<std::string>& command : commands) {
            SCOPED_TRACE(std::string(c.name) + " during " + command.front());
            ScratchFolder folder("cli_signal");
            const std::string target = folder / command.back();
            writeFile(target, "old\n", 0640);
            std::vector<std::string> arguments = command;
            arguments.back() = target;
            StalledPipe stderrPipe;
            ProgramSetup setup;
            setup.errorDescriptor = stderrPipe.ends[1];
            const StartedProgram program = startProgram(cli, arguments, setup);
            ASSERT_TRUE(temporaryFileAppears(folder, program));
            if (c.signal == SIGPIPE)
                stderrPipe.closeReader();
            else
                kill(program.pid, c.signal);
            const ProgramResult result = waitForProgram(program);
            // An interruption exits with 128 + its number; a reader gone ends it as it ends cat.
            if (c.signal == SIGPIPE)
                EXPECT_EQ(result.signal, SIGPIPE);
            else
                EXPECT_EQ(result.exitStatus, 128 + c.signal);
            EXPECT_EQ(fileText(target), "old\n");
            EXPECT_EQ(modeOf(target), 0640u);
            EXPECT_EQ(folder.names(), std::set<std::string>{command.back()});
        }
    }
}
