#pragma once

// Runs a program with arguments and collects what it printed and how it ended.

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct ProgramResult {
    int exitStatus = -1; // -1 when it did not exit normally (killed by a signal)
    int signal = 0;
    std::string out;
    std::string err;
};

// How the program is started, where that differs from a plain run (stdin on /dev/null, stdout and
// stderr collected, the test's umask).
struct ProgramSetup {
    std::vector<int> closedDescriptors; // of 0, 1, 2: closed when the program starts
    std::optional<mode_t> umask;
    std::string outputPath;    // stdout goes here instead of being collected
    int outputDescriptor = -1; // stdout goes to this descriptor instead of being collected
    int errorDescriptor = -1;  // stderr goes to this descriptor instead of being collected
};

struct StartedProgram {
    pid_t pid = -1;
    std::string stem; // of the files that collect its output
};

StartedProgram startProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const ProgramSetup& setup = {});
ProgramResult waitForProgram(const StartedProgram& started);
// Whether it has ended, without collecting it: waitForProgram still can.
bool hasEnded(const StartedProgram& started);

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const ProgramSetup& setup = {});
