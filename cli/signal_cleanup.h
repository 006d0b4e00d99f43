#pragma once

// Cleaning up after an interrupted run: one of the platform seams, with one body per platform
// (signal_cleanup_posix.cpp).

#include <functional>
#include <string>

namespace correlatore {

// Runs `make`, which creates a file and returns its name, so that from the moment the file exists
// a termination signal (interrupt, terminate, hang-up, broken pipe) removes it before the program
// ends by that same signal: the shell then sees 128 + its number, as after any program it
// interrupts. A signal ignored when the program started stays ignored. One file at a time; an
// empty name removes nothing. Returns what `make` returned.
std::string removeOnSignal(const std::function<std::string()>& make);

// From now on a termination signal removes nothing.
void keepOnSignal() noexcept;

} // namespace correlatore
