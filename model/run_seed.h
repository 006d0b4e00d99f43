#pragma once

#include <chrono>
#include <cstdint>

namespace correlatore {

// A fresh run seed from the high-resolution clock, for runs that are not asked to repeat. Only the
// callers use it; the engine never reads the clock and takes the seed it is given.
inline std::uint64_t seedFromClock() {
    return static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace correlatore
