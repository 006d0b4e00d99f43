// correlatore-cli's --out on Windows, run under wine on Linux. Guards against: a name with a letter
// outside ASCII written under another name, a long name refused for its temporary file, a file
// held open by another program or a read-only one damaged, the file standard output goes to
// replaced under the shell, a temporary file left behind by a failure or by Ctrl+C, and the null
// device replaced by a file.

#include "run_program.h"
#include "scratch_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <optional>
#include <windows.h>

namespace {

// The build names the program without a drive: it is on the one the test starts in, not on the
// scratch folder's.
const std::string cli = std::filesystem::absolute(CORRELATORE_CLI_PATH).string();

const std::string& theoryCsv() {
    static const std::string csv = runProgram(cli, {"theory"}).out;
    return csv;
}

// A file that another program has open, as a spreadsheet keeps the table it shows: it may be read
// and written, but not deleted or renamed over.
struct HeldOpen {
    explicit HeldOpen(const std::filesystem::path& path)
        : handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() { CloseHandle(handle); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    HANDLE handle;
};

enum class Guard { None, ReadOnly, HeldOpen }; // what guards the files that hold "old\n"

struct TargetCase {
    const char* name;
    std::string out;                // the --out argument, run in the folder; UTF-8
    std::set<std::string> oldFiles; // each holds "old\n" before the run
    Guard guard;
    int exitStatus;
    bool newData;                // the file named by `out` holds the new data, else "old\n"
    std::set<std::string> names; // everything in the folder afterwards: no leftovers
};

const std::string longName = std::string(250, 'n') + ".csv";

const TargetCase targetCases[] = {
    {"a new file", "new.csv", {}, Guard::None, 0, true, {"new.csv"}},
    {"an existing file", "old.csv", {"old.csv"}, Guard::None, 0, true, {"old.csv"}},
    {"a name with a space and an accented letter",
     "prova è.csv",
     {},
     Guard::None,
     0,
     true,
     {"prova è.csv"}},
    {"a 254-character name", longName, {}, Guard::None, 0, true, {longName}},
    {"a read-only file", "kept.csv", {"kept.csv"}, Guard::ReadOnly, 1, false, {"kept.csv"}},
    {"a file held open", "held.csv", {"held.csv"}, Guard::HeldOpen, 1, false, {"held.csv"}},
    {"a name in a missing folder", "missing\\new.csv", {}, Guard::None, 1, false, {}},
    {"a folder", "sub", {"sub\\old.csv"}, Guard::None, 1, false, {"sub", "sub\\old.csv"}},
    {"the null device", "NUL", {}, Guard::None, 0, false, {}},
};

std::filesystem::path pathOf(const ScratchFolder& folder, const std::string& utf8) {
    return folder.path / std::u8string(utf8.begin(), utf8.end());
}

} // namespace

TEST(CliOutputWindows, TargetsAreReplacedWholeOrKeptAsTheyWere) {
    for (const TargetCase& c : targetCases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_target");
        for (const std::string& name : c.oldFiles) {
            std::filesystem::create_directories(pathOf(folder, name).parent_path());
            writeFile(pathOf(folder, name), "old\n", c.guard == Guard::ReadOnly ? 0444 : 0644);
        }
        std::optional<HeldOpen> held;
        if (c.guard == Guard::HeldOpen)
            held.emplace(pathOf(folder, c.out));
        std::filesystem::current_path(folder.path);
        const ProgramResult result = runProgram(cli, {"theory", "--out", c.out});
        std::filesystem::current_path(folder.path.parent_path());
        held.reset();
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out, "");
        if (c.exitStatus != 0) {
            EXPECT_NE(result.err.find("cannot write '" + c.out + "': "), std::string::npos)
                << result.err;
        }
        if (std::filesystem::is_regular_file(pathOf(folder, c.out))) {
            const std::string text = fileText(pathOf(folder, c.out));
            EXPECT_EQ(text == theoryCsv(), c.newData);
            EXPECT_EQ(text == "old\n", !c.newData);
        }
        for (const std::string& name : c.oldFiles) // a read-only file cannot be removed
            std::filesystem::permissions(pathOf(folder, name), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        EXPECT_EQ(folder.names(), c.names);
    }
}

// The file standard output or error goes to is written in place, through that stream, as on
// Linux: what the shell or the rest of a script put there stays.
TEST(CliOutputWindows, TheFileAStandardStreamGoesToKeepsWhatElseIsThere) {
    const struct {
        const char* name;
        int stream;         // 1 or 2
        bool append;        // opened as `>>` opens it: at its end, else emptied
        std::string before; // written through the same opening, before and after the run
        std::string after;
        std::string expectedStart; // what precedes the data afterwards
    } cases[] = {
        {"> FILE", 1, false, "", "", ""},
        {">> FILE", 1, true, "", "", "a\nb\n"},
        {"a group of commands > FILE", 1, false, "header\n", "footer\n", "header\n"},
        {"2>> FILE", 2, true, "", "", "a\nb\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_stdout_file");
        const std::string log = folder / "log.csv";
        writeFile(log, "a\nb\n", 0644);
        const int descriptor =
            _open(log.c_str(), _O_WRONLY | _O_BINARY | (c.append ? _O_APPEND : _O_TRUNC));
        ASSERT_GE(descriptor, 0);
        _lseek(descriptor, 0, SEEK_END);
        _write(descriptor, c.before.data(), static_cast<unsigned>(c.before.size()));
        ProgramSetup setup;
        (c.stream == 1 ? setup.outputDescriptor : setup.errorDescriptor) = descriptor;
        const ProgramResult result = runProgram(cli, {"theory", "--out", log}, setup);
        _write(descriptor, c.after.data(), static_cast<unsigned>(c.after.size()));
        _close(descriptor);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_TRUE(fileText(log) == c.expectedStart + theoryCsv() + c.after);
        EXPECT_EQ(folder.names(), std::set<std::string>{"log.csv"});
    }
}

// ---- Interrupted runs

namespace {

// A pipe of one byte that nobody reads, given as standard error: the program blocks on its first
// message ("seed: N"), after its output file was opened and before it could be finished.
struct StalledPipe {
    StalledPipe() {
        static int pipes = 0;
        const std::wstring name = L"\\\\.\\pipe\\correlatore_stalled_" +
                                  std::to_wstring(GetCurrentProcessId()) + L"_" +
                                  std::to_wstring(++pipes);
        reader = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                  1, 1, 0, nullptr);
        const HANDLE writer = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        writerDescriptor = _open_osfhandle(reinterpret_cast<intptr_t>(writer), _O_WRONLY);
    }
    ~StalledPipe() {
        _close(writerDescriptor);
        CloseHandle(reader);
    }
    StalledPipe(const StalledPipe&) = delete;
    StalledPipe& operator=(const StalledPipe&) = delete;
    HANDLE reader;
    int writerDescriptor;
};

// The event reaches every program on the console, the test's included, which ignores it.
BOOL WINAPI ignoreConsoleEvent(DWORD) {
    return TRUE;
}

// The programs started from now on share a console with the test, as with a command prompt.
bool shareAConsole() {
    FreeConsole();
    return AllocConsole() && SetConsoleCtrlHandler(ignoreConsoleEvent, TRUE);
}

bool temporaryFileAppears(const ScratchFolder& folder, const StartedProgram& program) {
    for (int tries = 0; tries < 30000; ++tries) {
        if (folder.names().size() > 1)
            return true;
        if (hasEnded(program))
            return false;
        Sleep(1);
    }
    return false;
}

} // namespace

// Ctrl+C only: wine refuses Ctrl+Break for a whole console, and the same handler takes every event.
TEST(CliOutputWindows, AnInterruptedRunLeavesTheTargetAsItWasAndNothingElse) {
    ASSERT_TRUE(shareAConsole());
    ScratchFolder folder("cli_interrupted");
    const std::string target = folder / "out.csv";
    writeFile(target, "old\n", 0644);
    StalledPipe stderrPipe;
    ProgramSetup setup;
    setup.errorDescriptor = stderrPipe.writerDescriptor;
    const StartedProgram program = startProgram(cli, {"simulate", "--out", target}, setup);
    ASSERT_TRUE(temporaryFileAppears(folder, program));
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    const ProgramResult result = waitForProgram(program);
    // As the system ends a program that does not handle the event: a batch file sees ^C.
    EXPECT_EQ(static_cast<DWORD>(result.exitStatus), static_cast<DWORD>(STATUS_CONTROL_C_EXIT));
    EXPECT_EQ(fileText(target), "old\n");
    EXPECT_EQ(folder.names(), std::set<std::string>{"out.csv"});
}
