#include "run_parameters.h"

namespace correlatore {

namespace {

constexpr std::array<std::int16_t, betaItems.size()> betaValues{100,  200,  400, 800,
                                                                1600, 3200, 6400};
constexpr std::array<std::int32_t, nmItems.size()> nmValues{20000, 200000};

} // namespace

RunParameters readRunParameters(std::string_view combo1Text, std::string_view combo2Text) {
    RunParameters parameters = defaultRunParameters;
    for (std::size_t i = 0; i < betaItems.size(); ++i)
        if (combo1Text == betaItems[i])
            parameters.beta = betaValues[i];
    for (std::size_t i = 0; i < nmItems.size(); ++i)
        if (combo2Text == nmItems[i])
            parameters.nm = nmValues[i];
    return parameters;
}

} // namespace correlatore
