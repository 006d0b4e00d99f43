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

TEST(CliOutput, TheFileAStandardStreamWritesToIsWrittenThroughThatStream) {
    const std::string& csv = theoryCsv();
    const struct {
        const char* name;
        const char* script; // run in the folder, with the program as $0
        const char* before; // f.csv's text beforehand
        std::string after;
    } cases[] = {
        {"> /dev/stdout", "\"$0\" theory --out /dev/stdout > f.csv", "old\n", csv},
        {">> /dev/stdout", "\"$0\" theory --out /dev/stdout >> f.csv", "a\nb\n", "a\nb\n" + csv},
        {"a brace group", "{ echo header; \"$0\" theory --out /dev/stdout; echo footer; } > f.csv",
         "", "header\n" + csv + "footer\n"},
        {">> /proc/self/fd/1", "\"$0\" theory --out /proc/self/fd/1 >> f.csv", "old\n",
         "old\n" + csv},
        {">> the file's own name", "\"$0\" theory --out f.csv >> f.csv", "old\n", "old\n" + csv},
        {"2>> /dev/stderr", "\"$0\" theory --out /dev/stderr 2>> f.csv", "old\n", "old\n" + csv},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_through");
        writeFile(folder / "f.csv", c.before, 0644);
        std::filesystem::current_path(folder.path);
        const ProgramResult result = runProgram("/bin/sh", {"-c", c.script, cli});
        std::filesystem::current_path("/");
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_TRUE(fileText(folder / "f.csv") == c.after);
        EXPECT_EQ(folder.names(), std::set<std::string>{"f.csv"});
    }
}

TEST(CliOutput, AFailedWriteGivesTheSystemsReason) {
    const struct {
        const char* name;
        std::vector<std::string> arguments; // the last one is the target, in the folder
        const char* reason;
    } cases[] = {
        {"a PNG on a full device",
         {"render", "--bare", "--theory", "--out", "full.png"},
         "No space left on device"},
        {"a PNG past the file size limit",
         {"render", "--bare", "--theory", "--out", "big.png"},
         "File too large"},
        {"CSV past the file size limit", {"simulate", "--out", "big.csv"}, "File too large"},
        {"standard output past the file size limit", {"simulate"}, "File too large"},
#if CORRELATORE_CLI_WRITES_WORKBOOKS
        {"a workbook past the file size limit", {"theory", "--out", "big.xlsx"}, "File too large"},
#endif
    };
    unsetenv("DISPLAY");
    // Past the limit a write fails with EFBIG instead of ending the program; the program inherits
    // the ignored signal.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_reason");
        symlink("/dev/full", (folder / "full.png").c_str());
        const bool toAFile = c.arguments.size() > 1;
        const std::string target = folder / (toAFile ? c.arguments.back() : "stdout.csv");
        std::vector<std::string> arguments{"--fsize=4096", cli};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        if (toAFile)
            arguments.back() = target;
        if (!target.starts_with(folder / "full"))
            writeFile(target, "old\n", 0644);
        const auto names = folder.names();
        ProgramSetup setup;
        setup.outputPath = toAFile ? "" : target;
        const ProgramResult result = runProgram("/usr/bin/prlimit", arguments, setup);
        EXPECT_EQ(result.exitStatus, 1) << result.err;
        const std::string what = toAFile ? "'" + target + "'" : "to standard output";
        EXPECT_NE(result.err.find("cannot write " + what + ": " + c.reason + "\n"),
                  std::string::npos)
            << result.err;
        if (toAFile && !target.starts_with(folder / "full")) {
            EXPECT_EQ(fileText(target), "old\n");
        }
        EXPECT_EQ(folder.names(), names);
    }
    std::signal(SIGXFSZ, previous);
}

TEST(CliOutput, RunningOutOfMemoryIsARunTimeFailureThatLeavesTheTargetAsItWas) {
    // Memory that runs out for good after N allocations; for the picture module one allocation
    // that fails, since Qt's destructors need memory while the failure unwinds.
    constexpr const char* runsOut = "CORRELATORE_FAIL_ALLOCATIONS_AFTER";
    constexpr const char* failsOnce = "CORRELATORE_FAIL_ALLOCATION";
    const struct {
        std::vector<std::string> arguments; // the last one is the target, in the folder
        const char* failure;
    } cases[] = {
        {{"theory", "--out", "t.csv"}, runsOut},
        {{"simulate", "--seed", "1", "--out", "t.csv"}, runsOut},
        {{"expect", "--out", "t.csv"}, runsOut},
#if CORRELATORE_CLI_WRITES_WORKBOOKS
        {{"simulate", "--seed", "1", "--out", "t.xlsx"}, runsOut},
#endif
        {{"render", "--bare", "--theory", "--simulate", "--seed", "3", "--out", "t.png"},
         failsOnce},
    };
    unsetenv("DISPLAY");
    for (const auto& c : cases) {
        for (const long allocations : {0, 10, 100, 1000, 10000, 1000000}) {
            SCOPED_TRACE(c.arguments.front() + " " + c.failure + "=" + std::to_string(allocations));
            ScratchFolder folder("cli_memory");
            std::vector<std::string> arguments = c.arguments;
            const std::string target = arguments.back() = folder / arguments.back();
            writeFile(target, "old\n", 0644);
            setenv(c.failure, std::to_string(allocations).c_str(), 1);
            // Where the allocation fails inside Qt's start, Qt abandons what it had made: memory
            // of the library's, which LeakSanitizer (the asan preset) would report as a leak.
            const std::string sanitizerOptions =
                std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
            if (c.failure == failsOnce)
                setenv("ASAN_OPTIONS", (sanitizerOptions + ":detect_leaks=0").c_str(), 1);
            const ProgramResult result =
                runProgram(CORRELATORE_CLI_FAILING_ALLOCATIONS_PATH, arguments);
            setenv("ASAN_OPTIONS", sanitizerOptions.c_str(), 1);
            unsetenv(c.failure);
            if (allocations == 0 || result.exitStatus != 0) {
                EXPECT_EQ(result.exitStatus, 1) << "signal " << result.signal;
                EXPECT_EQ(result.err, "correlatore-cli: out of memory\n");
                EXPECT_EQ(fileText(target), "old\n");
            } else {
                EXPECT_GT(fileText(target).size(), 1000u);
            }
            EXPECT_EQ(folder.names().size(), 1u);
        }
    }
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

// What a signal finds the program doing, read off /proc.
bool hasAFileOpenIn(const ScratchFolder& folder, pid_t pid) {
    std::error_code gone;
    for (const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", gone)) {
        std::error_code closed;
        const std::string file = std::filesystem::read_symlink(entry.path(), closed).string();
        if (file.starts_with(folder.path.string() + "/")) // "#1234 (deleted)" when unnamed
            return true;
    }
    return false;
}
bool hasMapped(pid_t pid, const std::string& library) {
    return fileText("/proc/" + std::to_string(pid) + "/maps").find(library) != std::string::npos;
}
bool isBlocked(pid_t pid) { // on an open, a write or a wait
    const std::string stat = fileText("/proc/" + std::to_string(pid) + "/stat");
    const auto state = stat.rfind(") ");
    return state != std::string::npos && stat.substr(state + 2, 1) == "S";
}

bool becomesTrue(const StartedProgram& program, const std::function<bool()>& condition) {
    for (int tries = 0; tries < 30000; ++tries) {
        if (condition())
            return true;
        if (hasEnded(program))
            return false;
        usleep(1000);
    }
    return false;
}

// Whether the folder's file system gives files without a name (O_TMPFILE), which not even SIGKILL
// can leave behind.
bool unnamedFilesWorkIn(const ScratchFolder& folder) {
#ifdef O_TMPFILE
    const int descriptor = open(folder.path.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (descriptor < 0)
        return false;
    close(descriptor);
    return true;
#else
    return false;
#endif
}

} // namespace

TEST(CliOutput, ASignalAtAnyMomentEndsTheProgramByItAndLeavesTheTargetAsItWas) {
#ifdef __SANITIZE_THREAD__
    // ThreadSanitizer holds a signal back until the thread leaves the call it is in, and a write
    // to a stalled pipe never returns: the moments tried here cannot be reached under it.
    GTEST_SKIP() << "ThreadSanitizer defers signals during a blocked write";
#endif
    enum class Moment { Blocked, ModuleMapped, FileOpen };
    struct Case {
        const char* name;
        std::vector<std::string> arguments; // the last one, when a file, is the target
        Moment ready;
        bool writesAFile = false; // stderr then blocks on "seed: N", after the file was opened
    };
    std::vector<Case> cases = {
        {"before the output is opened (a FIFO without reader)",
         {"theory", "--out", "rows.csv"},
         Moment::Blocked},
        {"while the picture module loads",
         {"render", "--bare", "--simulate", "--out", "out.png"},
         Moment::ModuleMapped},
        {"during a run to standard output (stalled)", {"simulate"}, Moment::Blocked},
        {"during a CSV file's run", {"simulate", "--out", "out.csv"}, Moment::FileOpen, true},
        {"during a picture's run",
         {"render", "--bare", "--simulate", "--out", "out.png"},
         Moment::FileOpen,
         true},
#if CORRELATORE_CLI_WRITES_WORKBOOKS
        {"during a workbook's run", {"simulate", "--out", "out.xlsx"}, Moment::FileOpen, true},
#endif
    };
    unsetenv("DISPLAY");
    for (const Case& c : cases) {
        ScratchFolder folder("cli_signal");
        std::vector<int> signals{SIGINT, SIGTERM};
        if (c.writesAFile) {
            signals.insert(signals.end(), {SIGHUP, SIGPIPE});
            if (unnamedFilesWorkIn(folder))
                signals.push_back(SIGKILL);
        }
        for (const int signal : signals) {
            SCOPED_TRACE(std::string(strsignal(signal)) + " " + c.name);
            std::filesystem::remove_all(folder.path);
            std::filesystem::create_directory(folder.path);
            std::vector<std::string> arguments = c.arguments;
            std::string target;
            if (arguments.size() > 1) {
                target = arguments.back() = folder / arguments.back();
                if (c.ready == Moment::Blocked)
                    mkfifo(target.c_str(), 0600);
                else
                    writeFile(target, "old\n", 0640);
            }
            const auto names = folder.names();
            StalledPipe stalled; // stderr's, or stdout's for a run to standard output
            ProgramSetup setup;
            (target.empty() ? setup.outputDescriptor : setup.errorDescriptor) = stalled.ends[1];
            const StartedProgram program = startProgram(cli, arguments, setup);
            const pid_t pid = program.pid;
            const auto ready = [&] {
                switch (c.ready) {
                case Moment::Blocked:
                    return isBlocked(pid);
                case Moment::ModuleMapped:
                    return hasMapped(pid, "libcorrelatore-render");
                case Moment::FileOpen:
                    break;
                }
                return hasAFileOpenIn(folder, pid);
            };
            ASSERT_TRUE(becomesTrue(program, ready));
            if (signal == SIGPIPE)
                stalled.closeReader();
            else
                kill(pid, signal);
            const ProgramResult result = waitForProgram(program);
            EXPECT_EQ(result.signal, signal) << "exit status " << result.exitStatus;
            if (!target.empty() && c.ready != Moment::Blocked) {
                EXPECT_EQ(fileText(target), "old\n");
                EXPECT_EQ(modeOf(target), 0640u);
            }
            EXPECT_EQ(folder.names(), names);
        }
    }
}
