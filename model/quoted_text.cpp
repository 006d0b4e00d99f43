#include "quoted_text.h"

#include <cstdint>

namespace correlatore {

namespace {

// The length of the UTF-8 sequence at the start of `text` that encodes a printable character;
// 0 where the first byte is a control, DEL, the start of a C1 control or not UTF-8 at all.
std::size_t printableLength(std::string_view text) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char first = byte(0);
    if (first < 0x80)
        return first >= 0x20 && first != 0x7f ? 1 : 0;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (first >= 0xc2 && first <= 0xdf) {
        length = 2;
        code = first & 0x1fu;
    } else if (first >= 0xe0 && first <= 0xef) {
        length = 3;
        code = first & 0x0fu;
    } else if (first >= 0xf0 && first <= 0xf4) {
        length = 4;
        code = first & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3fu);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = code >= least[length] && code <= 0x10ffff && (code & 0xfffff800) != 0xd800;
    return valid && !(code >= 0x80 && code <= 0x9f) ? length : 0;
}

// The C escape of a byte that does not print as itself: \n, \e, ... where it has a name.
std::string escaped(unsigned char byte) {
    constexpr std::string_view named = "\a\b\t\n\v\f\r\x1b";
    if (const std::size_t at = named.find(static_cast<char>(byte)); at != std::string_view::npos)
        return {'\\', "abtnvfre"[at]};
    constexpr char digits[] = "0123456789abcdef";
    return {'\\', 'x', digits[byte >> 4], digits[byte & 0xf]};
}

// Every byte that does not print as itself escaped; the backslash and the quote too where
// `escapeQuoting` asks.
std::string printable(std::string_view text, bool escapeQuoting) {
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = printableLength(text);
        if (length == 0) {
            result += escaped(static_cast<unsigned char>(text.front()));
            text.remove_prefix(1);
            continue;
        }
        if (escapeQuoting && (text.front() == '\\' || text.front() == '\''))
            result += '\\';
        result += text.substr(0, length);
        text.remove_prefix(length);
    }
    return result;
}

} // namespace

std::string quotedText(std::string_view text) {
    const bool printsAsItIs = printable(text, false) == text;
    return '\'' + printable(text, !printsAsItIs) + '\'';
}

std::string inertLine(std::string_view message) {
    return printable(message, false);
}

} // namespace correlatore
