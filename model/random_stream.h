#pragma once

#include <cstdint>

namespace correlatore {

// Every simulation step draws from its own stream: a xoshiro128+ generator whose state is made
// from (run seed, step index) by splitmix64. One fresh start per step and no other reseeding, so
// a step's numbers depend on nothing but its seed and index: any thread, in any vector lane,
// reproduces them.

inline std::uint64_t splitmix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

struct Xoshiro128State {
    std::uint32_t s[4];
};

inline Xoshiro128State streamStart(std::uint64_t runSeed, int stepIndex) {
    std::uint64_t state =
        runSeed ^ (0xD1B54A32D192ED03ull * (static_cast<std::uint64_t>(stepIndex) + 1));
    const std::uint64_t a = splitmix64(state);
    const std::uint64_t b = splitmix64(state);
    Xoshiro128State x{{static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(a >> 32),
                       static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(b >> 32)}};
    if ((x.s[0] | x.s[1] | x.s[2] | x.s[3]) == 0)
        x.s[0] = 1; // the one state xoshiro cannot leave
    return x;
}

// The top 24 bits of a 32-bit output, as a float in [0, 1): exact, and never 1.0.
inline float uniformFromBits(std::uint32_t bits) {
    return static_cast<float>(static_cast<std::int32_t>(bits >> 8)) * 0x1p-24f;
}

// The scalar reference generator; the vector kernels must reproduce its numbers lane by lane.
class StepStream {
public:
    StepStream(std::uint64_t runSeed, int stepIndex)
        : m_state(streamStart(runSeed, stepIndex)) {}
    explicit StepStream(Xoshiro128State state)
        : m_state(state) {}

    Xoshiro128State state() const { return m_state; }

    std::uint32_t nextBits() {
        std::uint32_t* s = m_state.s;
        const std::uint32_t result = s[0] + s[3];
        const std::uint32_t t = s[1] << 9;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = (s[3] << 11) | (s[3] >> 21);
        return result;
    }

    float next() { return uniformFromBits(nextBits()); }

private:
    Xoshiro128State m_state;
};

} // namespace correlatore
