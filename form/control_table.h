#pragma once

#include "display_list.h"

#include <array>
#include <optional>
#include <string>

namespace correlatore {

enum class ControlKind { Label, PushButton, ComboBox, PictureBox };

// The font of a control: always the window's family, in one of its sizes, regular or bold.
struct ControlFont {
    double pointSize;
    bool bold;
};

inline constexpr ControlFont windowFont{8.25, false};

// One row of the window's control table. Positions and sizes are in twips; an auto-size control
// takes the size its caption needs instead of the size given here.
struct ControlRow {
    int tabIndex;
    const char* name;
    ControlKind kind;
    std::string caption;
    int left, top, width, height;
    ControlFont font;
    std::optional<ColorRef> textColour; // empty: the system's colour for that kind of control
    bool autoSize;
};

// "-60", 70 blanks, "0", 75 blanks, "+60": the numbers under the Si/Ni axis.
std::string axisNumbersCaption();

// The fifteen controls in tab order.
const std::array<ControlRow, 15>& controlTable();

// How far the layout reaches, in twips: 14685 x 9975, the client area that shows all of it.
struct LayoutExtent {
    int width;
    int height;
};
LayoutExtent layoutExtent();

// The window's own settings.
inline constexpr int restoredClientWidth = 4680; // twips
inline constexpr int restoredClientHeight = 3195;

} // namespace correlatore
