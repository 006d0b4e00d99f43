#include "table_output.h"

#include "csv.h"
#include "workbook.h"

#include <algorithm>
#include <cctype>

namespace correlatore {

namespace {

class CsvTable : public TableOutput {
public:
    CsvTable(OutputFile& out, const std::vector<std::string>& header)
        : m_out(out) {
        std::string line;
        for (const std::string& name : header)
            line += (line.empty() ? "" : ",") + name;
        line += '\n';
        m_out.write(line.data(), line.size());
    }

    void addRow(const std::vector<Cell>& cells) override {
        std::string line;
        for (const Cell& cell : cells) {
            if (const double* value = std::get_if<double>(&cell))
                line += roundTrip(*value);
            else if (const float* coordinate = std::get_if<float>(&cell))
                line += roundTrip(*coordinate);
            line += ',';
        }
        line.back() = '\n';
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

std::vector<Detail> programDetails() {
    return {{"program", std::string("correlatore-cli ") + CORRELATORE_VERSION}};
}

std::vector<Detail> programDetails(RunParameters parameters) {
    std::vector<Detail> details = programDetails();
    details.push_back({"Beta", static_cast<double>(parameters.beta)});
    details.push_back({"Nm", static_cast<double>(parameters.nm)});
    return details;
}

} // namespace correlatore
