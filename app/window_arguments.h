#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace correlatore {

// The window program's own arguments, and what it needs to know of Qt's (-platform, -style, ...),
// which are left for QApplication.
struct WindowArguments {
    std::optional<std::uint64_t> seed; // --seed N: every run of the session uses N
    std::string platform;              // -platform NAME, else empty
    std::string display;               // -display NAME (X11), else empty
    std::optional<int> exitStatus;     // set when the program should end at once
    std::string message;               // what to print before it ends: help, version or an error
};

WindowArguments readWindowArguments(int argc, const char* const* argv);

} // namespace correlatore
