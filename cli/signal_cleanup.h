#pragma once

// Cleaning up after an interrupted run: one of the platform seams, with one body per platform
// (signal_cleanup_posix.cpp).

#include <functional>
#include <string>

namespace correlatore {

// From now on a termination signal (interrupt, terminate, hang-up, broken pipe) ends the program
// the same way whatever it is doing: it removes the file named by removeOnSignal, if any, and
// then ends the program by that same signal, so that the shell sees 128 + its number and a
// script running the program stops. A signal ignored when the program started stays ignored.
// Called first thing, so that a signal before the output is opened, while a module loads or
// during a run ends alike.
void installSignalCleanup();

// Runs `make`, which gives a file a name and returns it, so that from the moment the name exists
// a termination signal removes it. One name at a time; an empty name removes nothing. Returns
// what `make` returned.
std::string removeOnSignal(const std::function<std::string()>& make);

// From now on a termination signal removes nothing.
void keepOnSignal() noexcept;

} // namespace correlatore
