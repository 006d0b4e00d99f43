#pragma once

#include "run_parameters.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace correlatore {

// What a picture shows, as the command line and the window know it.
struct PictureContent {
    std::string program;    // name and version, "correlatore-cli 0.1.0"
    bool run = false;       // the blue circles of a simulation run
    bool theory = false;    // the red theoretical curve
    bool band = false;      // the model's expected curve and its band, for the run's Beta and Nm
    bool residuals = false; // the residual chart of the run, instead of the chart
    bool analogue = false;  // the run's analogue estimates r and their expected curve
    RunParameters parameters = defaultRunParameters;
    std::uint64_t seed = 0; // the seed the run used, whether given or taken from the clock
    std::string fit;        // the run's fit line, for its residuals
};

// What a picture says about itself, so that it can be traced and made again: the program and its
// version, the curves drawn, and Beta, Nm and the seed of a simulated run.
struct PictureDescription {
    std::string title;
    std::string description;
    std::vector<std::pair<std::string, std::string>> fields;
};

PictureDescription describePicture(const PictureContent& content);

} // namespace correlatore
