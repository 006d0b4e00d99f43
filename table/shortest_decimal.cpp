#include "shortest_decimal.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <version>
#ifdef __cpp_lib_to_chars
#include <charconv>
#endif

namespace correlatore {

namespace {

// The significant digits and the decimal exponent of the shortest "%.*e" text that reads back as
// `value` by `read`.
struct Scientific {
    bool negative;
    std::string digits; // no point, no trailing zeros beyond the first digit
    int exponent;       // of the first digit
};

// "d.ddde±X" from a sign, digits and an exponent.
std::string scientificText(bool negative, const std::string& digits, int exponent) {
    std::string text(negative ? "-" : "");
    text += digits.front();
    text += '.';
    text.append(digits, 1);
    text += 'e' + std::to_string(exponent);
    return text;
}

// The digits one unit in the last place up or down, and the exponent, kept at as many digits.
std::pair<std::string, int> neighbour(std::string digits, int exponent, int step) {
    for (auto at = digits.rbegin(); at != digits.rend(); ++at) {
        const int digit = *at - '0' + step;
        *at = static_cast<char>('0' + (digit + 10) % 10);
        if (digit >= 0 && digit <= 9)
            return {digits, exponent};
    }
    // 99..9 up is 10..0, one digit more: dropped again with the exponent raised; 00..0 down
    // cannot happen, the first digit being 1 to 9.
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    return {digits, exponent + 1};
}

template <typename Number, typename Read>
Scientific shortestScientific(Number value, int mostDigits, Read read) {
    char text[40];
    for (int precision = 0;; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision, static_cast<double>(value));
        const std::string all = text;
        Scientific nearest{all.front() == '-', {}, 0};
        const std::size_t e = all.find('e');
        for (std::size_t i = nearest.negative ? 1 : 0; i < e; ++i)
            if (all[i] != '.')
                nearest.digits += all[i];
        nearest.exponent = std::atoi(all.c_str() + e + 1);
        const auto trimmed = [](Scientific found) {
            while (found.digits.size() > 1 && found.digits.back() == '0')
                found.digits.pop_back();
            return found;
        };
        if (read(text) == value || precision + 1 >= mostDigits)
            return trimmed(nearest);
        // Below a power of two the gap to the next smaller value is half the gap above: the
        // nearest text of these many digits may read back as another value while its neighbour
        // does not.
        for (const int step : {1, -1}) {
            const auto [digits, exponent] = neighbour(nearest.digits, nearest.exponent, step);
            if (read(scientificText(nearest.negative, digits, exponent).c_str()) == value)
                return trimmed({nearest.negative, digits, exponent});
        }
    }
}

std::string formatted(const Scientific& s, double value) {
    const auto count = static_cast<int>(s.digits.size());
    // Scientific: d[.ddd]e±XX, at least two exponent digits.
    std::string scientific(s.negative ? "-" : "");
    scientific += s.digits.front();
    if (count > 1) {
        scientific += '.';
        scientific.append(s.digits, 1);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", s.exponent < 0 ? '-' : '+',
                  s.exponent < 0 ? -s.exponent : s.exponent);
    scientific += exponent;
    // Fixed: the digits with the point moved, zeros added where the exponent reaches past them.
    std::string fixed(s.negative ? "-" : "");
    if (s.digits == "0") {
        fixed += '0';
    } else if (s.exponent < 0) {
        fixed += "0.";
        fixed.append(static_cast<std::size_t>(-s.exponent - 1), '0');
        fixed += s.digits;
    } else if (s.exponent + 1 >= count) {
        // A whole number: its zeros cost as many characters as its exact digits, which to_chars
        // then prefers, as the closest text of that length.
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", value);
        fixed = whole;
    } else {
        const auto whole = static_cast<std::size_t>(s.exponent + 1);
        fixed.append(s.digits, 0, whole);
        fixed += '.';
        fixed.append(s.digits, whole);
    }
    return fixed.size() <= scientific.size() ? fixed : scientific;
}

// std::to_chars where the standard library has it for floating point, printf elsewhere.
template <typename Number> std::string shortest(Number value) {
#ifdef __cpp_lib_to_chars
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
#else
    return shortestDecimalByPrintf(value);
#endif
}

} // namespace

std::string shortestDecimalByPrintf(double value) {
    return formatted(
        shortestScientific(value, 17, [](const char* text) { return std::strtod(text, nullptr); }),
        value);
}

std::string shortestDecimalByPrintf(float value) {
    return formatted(
        shortestScientific(value, 9, [](const char* text) { return std::strtof(text, nullptr); }),
        static_cast<double>(value));
}

std::string shortestDecimal(double value) {
    return shortest(value);
}

std::string shortestDecimal(float value) {
    return shortest(value);
}

} // namespace correlatore
