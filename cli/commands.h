#pragma once

#include "run_parameters.h"

#include <cstdint>
#include <optional>
#include <string>

namespace correlatore {

struct TheoryCommand {
    std::string out;
};

struct SimulateCommand {
    RunParameters parameters = defaultRunParameters;
    std::optional<std::uint64_t> seed;
    unsigned threads = 0;
    std::string out;
};

// Each returns the exit status; errors go to stderr, data to the output.
int runTheory(const TheoryCommand& command);
int runSimulate(const SimulateCommand& command);

} // namespace correlatore
