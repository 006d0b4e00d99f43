#include "axis_numbers.h"

#include "chart_geometry.h"
#include "control_table.h"
#include "drawing_measures.h"

#include <algorithm>
#include <sstream>

namespace correlatore {

namespace {

const ControlRow& label3() {
    const auto& table = controlTable();
    return *std::find_if(table.begin(), table.end(),
                         [](const ControlRow& row) { return row.name == std::string("Label3"); });
}

} // namespace

std::array<std::string, 3> axisNumbers() {
    std::istringstream words(label3().caption);
    std::array<std::string, 3> numbers;
    for (std::string& number : numbers)
        words >> number;
    return numbers;
}

std::array<int, 3> axisNumberLefts(const std::array<int, 3>& widths) {
    const ControlRow& label = label3();
    const int axis = pixelsOf(static_cast<int>(chart::xOfSiNi(0.0)));
    return {0, axis - pixelsOf(label.left) - widths[1] / 2, pixelsOf(label.width) - widths[2]};
}

} // namespace correlatore
