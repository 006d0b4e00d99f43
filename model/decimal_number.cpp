#include "decimal_number.h"

#include "quoted_text.h"

#include <algorithm>
#include <charconv>

namespace correlatore {

std::optional<std::uint64_t> readDecimal(std::string_view text, std::uint64_t least,
                                         std::uint64_t most) {
    const auto isDigit = [](char c) {
        return c >= '0' && c <= '9';
    };
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit))
        return std::nullopt;
    std::uint64_t value = 0;
    // from_chars reads decimal only and reports overflow instead of clamping.
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (value < least || value > most)
        return std::nullopt;
    return value;
}

std::string decimalRangeMessage(std::string_view text, std::uint64_t least, std::uint64_t most) {
    return "must be a whole number from " + std::to_string(least) + " to " + std::to_string(most) +
           ", not " + quotedText(text);
}

} // namespace correlatore
