#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace correlatore {

// A whole number written the way people write it: decimal digits only, no sign, no blanks, no
// base prefix; leading zeros change nothing ("010" is ten). Empty when the text is anything else
// or the number lies outside [least, most].
std::optional<std::uint64_t> readDecimal(std::string_view text, std::uint64_t least,
                                         std::uint64_t most);

// "must be a whole number from 1 to 8, not '0x2'": the message for a text readDecimal refused.
std::string decimalRangeMessage(std::string_view text, std::uint64_t least, std::uint64_t most);

} // namespace correlatore
