#pragma once

// The standard streams as the program finds them: one of the platform seams, with one body per
// platform (standard_streams_posix.cpp).

#include <cstdio>

namespace correlatore {

// Opens each of standard input, output and error that was closed at start on the null device,
// so that no file the program opens takes its number (else "seed: N" would land in the output
// file). They are opened the wrong way round, as the GNU tools do, so that writing to an output
// that was closed still fails instead of vanishing.
void openClosedStandardStreams();

// Whether a progress display on standard error stays out of the data's way: standard error is a
// terminal, and the data does not go to that same terminal.
bool progressFitsBeside(std::FILE* data);

} // namespace correlatore
