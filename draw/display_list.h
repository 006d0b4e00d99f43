#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace correlatore {

// A colour as 0x00BBGGRR.
using ColorRef = std::uint32_t;
inline constexpr ColorRef black = 0x000000;
inline constexpr ColorRef red = 0x0000FF;
inline constexpr ColorRef blue = 0xFF0000;

// One recorded drawing operation, in chart space (twips, single precision).
struct DrawOp {
    enum class Kind : std::uint8_t { Point, Line, Circle };
    Kind kind;
    float x1, y1;
    float x2, y2; // Line: the end point; Circle: x2 is the radius
    ColorRef colour;

    friend bool operator==(const DrawOp&, const DrawOp&) = default;
};

using DisplayList = std::vector<DrawOp>;

// The window's immediate-mode drawing operations, retained: everything drawn stays in the list
// until the next Cls, so that a repaint (or an export) can draw it all again.
class DrawingSurface {
public:
    // Flag bits of the operations' first argument: which optional arguments apply.
    static constexpr std::int16_t colourGiven = 2;     // PSet, Circle
    static constexpr std::int16_t lineColourGiven = 4; // Line

    explicit DrawingSurface(ColorRef foreColor = black)
        : m_foreColor(foreColor) {}

    void Cls();
    void PSet(std::int16_t flags, float x, float y, ColorRef colour);
    void Line(std::int16_t flags, float x1, float y1, float x2, float y2, ColorRef colour);
    void Circle(std::int16_t flags, float x, float y, float radius, ColorRef colour);

    // Everything drawn is replaced by `ops`, a drawing made elsewhere by the same operations.
    void replaceWith(DisplayList ops);

    // Drops every earlier operation that one drawn since the last call repeats exactly. Drawing is
    // opaque and aliased, so the repeat covers exactly the pixels of what it replaces and the
    // picture stays the same, while pressing for the same curve again and again no longer
    // lengthens the list (and every repaint with it). Operations drawn between two calls are
    // kept call for call, repeats and all: the frame sets some of its dots twice.
    void dropHiddenRepeats();

    const DisplayList& ops() const { return m_ops; }
    bool isEmpty() const { return m_ops.empty(); }
    void setForeColor(ColorRef colour) { m_foreColor = colour; }

    // Called after every operation, so that a window can schedule a repaint.
    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    void append(const DrawOp& op);
    ColorRef colourFor(std::int16_t flags, std::int16_t colourBit, ColorRef colour) const;

    DisplayList m_ops;
    std::size_t m_settled = 0; // m_ops[0, m_settled) hold no repeat of one another's
    ColorRef m_foreColor;
    std::function<void()> m_listener;
};

} // namespace correlatore
