#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace correlatore {

// The window program's own arguments. Qt's (-platform, -style, ...) are left for QApplication.
struct WindowArguments {
    std::optional<std::uint64_t> seed; // --seed N: every run of the session uses N
    std::optional<int> exitStatus;     // set when the program should end at once
    std::string message;               // what to print before it ends: help, or a usage error
};

WindowArguments readWindowArguments(int argc, const char* const* argv);

} // namespace correlatore
