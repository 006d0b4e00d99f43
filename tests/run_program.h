#pragma once

// Runs a program with arguments and collects what it printed and how it ended.

#include <string>
#include <vector>

struct ProgramResult {
    int exitStatus = -1; // -1 when it did not exit normally (killed by a signal)
    int signal = 0;
    std::string out;
    std::string err;
};

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments);
