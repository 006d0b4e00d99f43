#pragma once

#include <string>
#include <variant>
#include <vector>

namespace correlatore {

// One value of a table: none, a double, or a single-precision chart coordinate. CSV shows each as
// the shortest text that reads back as the same value; a workbook holds that same number.
using Cell = std::variant<std::monostate, double, float>;

// What a workbook shows above its table (the program, the run's parameters, its fit), as text or
// as a number.
struct Detail {
    std::string label;
    std::variant<std::string, double> value;
};

// A table of numbers with its column names, and the details that a workbook shows above it.
struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<Cell>> rows;
    std::vector<Detail> details;
};

} // namespace correlatore
