#pragma once

#include "shortest_decimal.h"
#include "table_cells.h"

#include <string>
#include <vector>

namespace correlatore {

// How a CSV file separates its fields and writes its decimals: "," and "." for programs, as the
// command line writes it; ";" and "," for a spreadsheet in a language that writes decimals with a
// comma, which reads "0.5" as text.
struct CsvStyle {
    char separator = ',';
    char decimalMark = '.';
};

inline constexpr CsvStyle decimalCommaCsv{';', ','};

// One line of a CSV file, its newline included: the column names, or a row of cells (an empty
// field where a cell holds none).
std::string csvLine(const std::vector<std::string>& names, CsvStyle style = {});
std::string csvLine(const std::vector<Cell>& cells, CsvStyle style = {});

// The whole table as CSV: the header, then the rows.
std::string csvText(const Table& table, CsvStyle style = {});

} // namespace correlatore
