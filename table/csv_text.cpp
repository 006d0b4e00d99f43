#include "csv_text.h"

#include <algorithm>

namespace correlatore {

std::string csvLine(const std::vector<std::string>& names, CsvStyle style) {
    std::string line;
    for (const std::string& name : names)
        line += (line.empty() ? "" : std::string(1, style.separator)) + name;
    return line + '\n';
}

std::string csvLine(const std::vector<Cell>& cells, CsvStyle style) {
    std::string line;
    for (const Cell& cell : cells) {
        std::string text;
        if (const double* value = std::get_if<double>(&cell))
            text = shortestDecimal(*value);
        else if (const float* coordinate = std::get_if<float>(&cell))
            text = shortestDecimal(*coordinate);
        std::replace(text.begin(), text.end(), '.', style.decimalMark);
        line += text;
        line += style.separator;
    }
    line.back() = '\n';
    return line;
}

std::string csvText(const Table& table, CsvStyle style) {
    std::string text = csvLine(table.header, style);
    for (const std::vector<Cell>& row : table.rows)
        text += csvLine(row, style);
    return text;
}

} // namespace correlatore
