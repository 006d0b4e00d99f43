#include "table_output.h"

#include "csv_text.h"
#include "workbook.h"

#include <algorithm>
#include <cctype>

namespace correlatore {

namespace {

class CsvTable : public TableOutput {
public:
    CsvTable(OutputFile& out, const std::vector<std::string>& header)
        : m_out(out) {
        const std::string line = csvLine(header);
        m_out.write(line.data(), line.size());
    }

    void addRow(const std::vector<Cell>& cells) override {
        const std::string line = csvLine(cells);
        m_out.write(line.data(), line.size());
    }

    void finish(const std::vector<Detail>&) override {}

private:
    OutputFile& m_out;
};

} // namespace

bool namesWorkbook(const std::string& path) {
    constexpr std::string_view suffix = ".xlsx";
    return path.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(),
                      path.end() - static_cast<std::ptrdiff_t>(suffix.size()), [](char a, char b) {
                          return a == std::tolower(static_cast<unsigned char>(b));
                      });
}

std::unique_ptr<TableOutput> openTable(OutputFile& output, const std::string& path,
                                       const std::string& sheet, std::vector<std::string> header) {
    if (namesWorkbook(path))
        return openWorkbook(output, path, sheet, std::move(header));
    return std::make_unique<CsvTable>(output, header);
}

} // namespace correlatore
