#include "display_list.h"

#include "run_time_error.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <utility>

namespace correlatore {

namespace {

// Chart space is twips in single precision; anything beyond a 16-bit twip range, or not a number,
// cannot be a position on the window, and the classic surface failed with an overflow there.
constexpr float coordinateLimit = 32767.0f * 15.0f;

void checkCoordinate(float value) {
    if (!std::isfinite(value) || std::fabs(value) > coordinateLimit)
        throw RunTimeError(error_code::overflow, "Overflow");
}

// The bits of a float (std::bit_cast, which the web edition's standard library lacks).
std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct DrawOpHash {
    std::size_t operator()(const DrawOp& op) const noexcept {
        // + 0.0f makes -0 and +0, which compare equal, hash alike.
        std::size_t h = static_cast<std::size_t>(op.kind) ^ (std::size_t{op.colour} << 8);
        for (const float v : {op.x1, op.y1, op.x2, op.y2})
            h = h * 1000003u ^ bitsOf(v + 0.0f);
        return h;
    }
};

} // namespace

void DrawingSurface::Cls() {
    m_ops.clear();
    m_settled = 0;
    if (m_listener)
        m_listener();
}

void DrawingSurface::PSet(std::int16_t flags, float x, float y, ColorRef colour) {
    checkCoordinate(x);
    checkCoordinate(y);
    append({DrawOp::Kind::Point, x, y, 0.0f, 0.0f, colourFor(flags, colourGiven, colour)});
}

void DrawingSurface::Line(std::int16_t flags, float x1, float y1, float x2, float y2,
                          ColorRef colour) {
    for (const float v : {x1, y1, x2, y2})
        checkCoordinate(v);
    append({DrawOp::Kind::Line, x1, y1, x2, y2, colourFor(flags, lineColourGiven, colour)});
}

void DrawingSurface::Circle(std::int16_t flags, float x, float y, float radius, ColorRef colour) {
    checkCoordinate(x);
    checkCoordinate(y);
    checkCoordinate(radius);
    if (radius < 0.0f)
        throw RunTimeError(error_code::invalidProcedureCall, "Chiamata di procedura non valida");
    append({DrawOp::Kind::Circle, x, y, radius, 0.0f, colourFor(flags, colourGiven, colour)});
}

void DrawingSurface::replaceWith(DisplayList ops) {
    m_ops = std::move(ops);
    m_settled = 0;
    if (m_listener)
        m_listener();
}

void DrawingSurface::dropHiddenRepeats() {
    if (m_settled == m_ops.size())
        return;
    const auto settledEnd = m_ops.begin() + static_cast<std::ptrdiff_t>(m_settled);
    const std::unordered_set<DrawOp, DrawOpHash> recent(settledEnd, m_ops.end());
    const auto kept = std::remove_if(m_ops.begin(), settledEnd,
                                     [&](const DrawOp& op) { return recent.contains(op); });
    m_ops.erase(kept, settledEnd);
    m_settled = m_ops.size();
}

void DrawingSurface::append(const DrawOp& op) {
    m_ops.push_back(op);
    if (m_listener)
        m_listener();
}

ColorRef DrawingSurface::colourFor(std::int16_t flags, std::int16_t colourBit,
                                   ColorRef colour) const {
    return (flags & colourBit) ? colour : m_foreColor;
}

} // namespace correlatore
