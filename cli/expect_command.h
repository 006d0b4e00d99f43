#pragma once

#include "run_parameters.h"

#include <string>

namespace correlatore {

struct ExpectCommand {
    RunParameters parameters = defaultRunParameters;
    bool analogue = false;
    std::string out;
};

// Writes what a run with these parameters is expected to show, without running one: for each step
// s, the model's E[C] and sd[C], the settled arcsine law with the true pi, and the red curve's Crt;
// with `analogue`, the analogue estimate's E[r] and sd[r] and the efficiency eta too.
// Throws std::runtime_error when the output cannot be written.
void writeExpectation(const ExpectCommand& command);

// The same as a command: the exit status, with errors on stderr.
int runExpect(const ExpectCommand& command);

} // namespace correlatore
