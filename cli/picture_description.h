#pragma once

#include "commands.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace correlatore {

// What a rendered picture says about itself, so that it can be traced and made again: the program
// and its version, the curves drawn, and Beta, Nm and the seed of a simulated run.
struct PictureDescription {
    std::string title;
    std::string description;
    std::vector<std::pair<std::string, std::string>> fields;
};

// `seed` is the seed the run used, whether given or taken from the clock.
PictureDescription describePicture(const RenderCommand& command, std::uint64_t seed);

} // namespace correlatore
