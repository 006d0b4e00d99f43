// correlatore-cli's standard streams. Guards against: a file opened on the number of a closed
// standard stream (so that "seed: N" lands in a PNG), data for a closed or full stdout that is
// lost without a failure, a stdout pipe without a reader that is not reported, and a progress
// bar drawn among CSV rows.

#include "run_program.h"
#include "scratch_folder.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

} // namespace

// ---- Closed standard streams

TEST(CliStreams, ClosedStandardStreamsNeitherTakeNorLoseData) {
    const struct {
        const char* name;
        std::vector<int> closed;
        std::vector<std::string> arguments; // "@" stands for the output file
        int exitStatus;
        const char* stdoutDevice = nullptr;
    } cases[] = {
        {"stderr closed: a PNG with its seed message",
         {2},
         {"render", "--bare", "--simulate", "--out", "@"},
         0},
        {"stderr closed: a CSV with its seed message", {2}, {"simulate", "--out", "@"}, 0},
        {"stdin closed: a CSV to a file", {0}, {"simulate", "--out", "@"}, 0},
        {"stdout closed: a CSV to a file", {1}, {"simulate", "--out", "@"}, 0},
        {"all three closed: a PNG", {0, 1, 2}, {"render", "--bare", "--simulate", "--out", "@"}, 0},
        {"stdout closed: a CSV to stdout", {1}, {"simulate", "--seed", "1"}, 1},
        {"stdout closed: --help", {1}, {"--help"}, 1},
        {"stdout closed: --version", {1}, {"--version"}, 1},
        {"stdout on a full device: --help", {}, {"--help"}, 1, "/dev/full"},
        {"stdout on a full device: --version", {}, {"--version"}, 1, "/dev/full"},
    };
    unsetenv("DISPLAY");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_streams");
        std::vector<std::string> arguments = c.arguments;
        std::string output;
        for (std::string& argument : arguments)
            if (argument == "@")
                argument = output = folder / (arguments.front() == "render" ? "out.png" : "o.csv");
        ProgramSetup setup;
        setup.closedDescriptors = c.closed;
        if (c.stdoutDevice)
            setup.outputPath = c.stdoutDevice;
        const ProgramResult result = runProgram(cli, arguments, setup);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        if (c.exitStatus != 0 && c.closed != std::vector<int>{0, 1, 2}) {
            EXPECT_NE(result.err.find("cannot write to standard output"), std::string::npos)
                << result.err;
        }
        if (output.empty())
            continue;
        const std::string data = fileText(output);
        if (arguments.front() == "render") {
            EXPECT_EQ(data.substr(0, 8), "\x89PNG\r\n\x1a\n");
            EXPECT_TRUE(data.ends_with(std::string("IEND\xae\x42\x60\x82", 8)));
        } else {
            EXPECT_TRUE(data.starts_with("s,p,px,py,c,crt,c_model,sd,z,rho_hat,snr_db_hat\n-60,"));
            EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 242);
            EXPECT_EQ(data.find("seed"), std::string::npos);
        }
        EXPECT_EQ(folder.names().size(), 1u);
    }
}

TEST(CliStreams, AStdoutPipeWithoutAReaderEndsTheRunAsCatWould) {
    const struct {
        const char* name;
        bool pipeSignalIgnored;
        int signal;
        int exitStatus;
    } cases[] = {
        {"SIGPIPE as it comes", false, SIGPIPE, -1},
        {"SIGPIPE ignored by the caller", true, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int ends[2];
        ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
        close(ends[0]); // the reader is gone before the first row
        ProgramSetup setup;
        setup.outputDescriptor = ends[1];
        // The program inherits an ignored signal; the tests write to no pipe meanwhile.
        const auto previous = std::signal(SIGPIPE, c.pipeSignalIgnored ? SIG_IGN : SIG_DFL);
        const ProgramResult result = runProgram(cli, {"theory"}, setup);
        std::signal(SIGPIPE, previous);
        close(ends[1]);
        EXPECT_EQ(result.signal, c.signal);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        if (c.exitStatus == 1) {
            EXPECT_EQ(result.err,
                      "correlatore-cli: cannot write to standard output: Broken pipe\n");
        }
    }
}

// ---- The progress bar

namespace {

// A pseudo-terminal, and everything the program showed on it.
struct Terminal {
    Terminal() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(m_master);
        unlockpt(m_master);
        device = open(ptsname(m_master), O_RDWR | O_NOCTTY);
        m_reader = std::thread([this] {
            char buffer[4096];
            for (ssize_t n; (n = read(m_master, buffer, sizeof buffer)) > 0;)
                m_shown.append(buffer, static_cast<std::size_t>(n));
        });
    }
    ~Terminal() { close(m_master); }
    // Once the program has ended: the terminal then reads as closed.
    std::string shown() {
        close(device);
        m_reader.join();
        return m_shown;
    }
    int device = -1;

private:
    int m_master = -1;
    std::thread m_reader;
    std::string m_shown;
};

} // namespace

TEST(CliStreams, TheProgressBarShowsOnlyWhereNoDataGoes) {
    const struct {
        const char* name;
        bool stdoutOnTheTerminal;
        bool toAFile;
        bool barShown;
    } cases[] = {
        {"CSV rows on the same terminal", true, false, false},
        {"CSV to --out, stdout the terminal", true, true, true},
        {"CSV to a redirected stdout", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_progress");
        Terminal terminal;
        std::vector<std::string> arguments{"simulate", "--seed", "1"};
        if (c.toAFile)
            arguments.insert(arguments.end(), {"--out", folder / "s.csv"});
        ProgramSetup setup;
        setup.errorDescriptor = terminal.device;
        if (c.stdoutOnTheTerminal)
            setup.outputDescriptor = terminal.device;
        const ProgramResult result = runProgram(cli, arguments, setup);
        const std::string shown = terminal.shown();
        EXPECT_EQ(result.exitStatus, 0) << shown;
        EXPECT_EQ(shown.find("241/241 steps") != std::string::npos, c.barShown) << shown;
        const std::string data = c.toAFile               ? fileText(folder / "s.csv")
                                 : c.stdoutOnTheTerminal ? shown
                                                         : result.out;
        EXPECT_NE(data.find("s,p,px,py"), std::string::npos);
        if (!c.stdoutOnTheTerminal || c.toAFile) {
            EXPECT_EQ(data.find('\r'), std::string::npos); // no bar among the rows
        }
    }
}
