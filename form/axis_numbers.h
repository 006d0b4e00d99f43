#pragma once

#include <array>
#include <string>

namespace correlatore {

// Label3's three numbers under the Si/Ni axis, as its caption spells them: "-60", "0" and "+60".
std::array<std::string, 3> axisNumbers();

// Where Label3 puts each of its numbers, in pixels from the label's left edge, given their widths
// in the font it shows. A blank is not equally wide in every font, so the numbers are placed one by
// one where the reference font puts them: "-60" from the chart's left edge, "0" centred on the
// vertical axis, "+60" ending at the label's width in the table, a little past the plot's end.
std::array<int, 3> axisNumberLefts(const std::array<int, 3>& widths);

} // namespace correlatore
