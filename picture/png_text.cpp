#include "png_text.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace correlatore {

namespace {

constexpr std::string_view signature("\x89PNG\r\n\x1a\n", 8);
constexpr std::size_t headerChunkSize = 4 + 4 + 13 + 4; // length, type, IHDR data, CRC

// The CRC-32 of PNG chunks (ISO 3309), over the chunk's type and data.
std::uint32_t crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<std::uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

std::string printable(std::string_view text) {
    std::string result;
    for (const char c : text)
        result += (c >= ' ' && c <= '~') || c == '\n' ? c : '?';
    return result;
}

std::string textChunk(const std::string& key, const std::string& value) {
    const std::string body = "tEXt" + printable(key).substr(0, 79) + '\0' + printable(value);
    std::string chunk;
    appendBigEndian(chunk, static_cast<std::uint32_t>(body.size() - 4));
    chunk += body;
    appendBigEndian(chunk, crc32(body));
    return chunk;
}

} // namespace

std::string withPngText(std::string png,
                        const std::vector<std::pair<std::string, std::string>>& fields) {
    const std::size_t after = signature.size() + headerChunkSize;
    if (png.size() < after || std::string_view(png).substr(0, 8) != signature ||
        std::string_view(png).substr(12, 4) != "IHDR")
        return png;
    std::string chunks;
    for (const auto& [key, value] : fields)
        chunks += textChunk(key, value);
    png.insert(after, chunks);
    return png;
}

} // namespace correlatore
