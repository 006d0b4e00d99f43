#pragma once

#include <charconv>
#include <string>

namespace correlatore {

// The shortest text that reads back as the same value: doubles as doubles, floats as floats.
template <typename Number> std::string roundTrip(Number value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace correlatore
