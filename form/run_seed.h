#pragma once

#include <chrono>
#include <cstdint>

namespace correlatore {

// A fresh run seed from the high-resolution clock, for runs that are not asked to repeat: the
// form's and the command line's. The model never reads the clock; it takes the seed it is given.
inline std::uint64_t seedFromClock() {
    return static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace correlatore
