#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace correlatore {

// The parameters of one simulation run: the integrator constant in samples and the bound of each
// step's sample loop (a step takes nm + 1 samples).
struct RunParameters {
    std::int16_t beta;
    std::int32_t nm;

    friend bool operator==(const RunParameters&, const RunParameters&) = default;
};

inline constexpr RunParameters defaultRunParameters{100, 20000};

// The items of the two lists, in list order.
inline constexpr std::array<std::string_view, 7> betaItems{"100",  "200",  "400", "800",
                                                           "1600", "3200", "6400"};
inline constexpr std::array<std::string_view, 2> nmItems{"20000", "200000"};

// Reads the run parameters from the two lists' texts. A text counts only when it equals an item
// exactly (same length, same characters; no trimming, no number conversion); anything else
// silently gives the default. Beta starts again from 100 at every run.
RunParameters readRunParameters(std::string_view combo1Text, std::string_view combo2Text);

} // namespace correlatore
