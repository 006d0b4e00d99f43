#pragma once

#include "render_module.h"
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
    bool analogue = false; // the analogue correlator's estimates beside the clipped ones
    std::string out;
};

struct RenderCommand {
    std::string out;
    PictureFormat format = PictureFormat::Png;
    int scale = 2;
    PictureLayout layout = PictureLayout::ChartWithLabels;
    bool theory = false;
    bool simulate = false;
    SimulateCommand simulation;
};

// Each returns the exit status; errors go to stderr, data to the output.
int runTheory(const TheoryCommand& command);
int runSimulate(const SimulateCommand& command);
int runRender(const RenderCommand& command);

} // namespace correlatore
