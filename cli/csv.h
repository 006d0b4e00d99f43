#pragma once

#include <charconv>
#include <cstdio>
#include <string>

namespace correlatore {

// The shortest text that reads back as the same value: doubles as doubles, floats as floats.
template <typename Number> std::string roundTrip(Number value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Writes one CSV row of round-trip numbers.
template <typename... Numbers> void writeRow(std::FILE* out, Numbers... values) {
    std::string line;
    ((line += roundTrip(values), line += ','), ...);
    line.back() = '\n';
    std::fputs(line.c_str(), out);
}

} // namespace correlatore
