#include "workbook.h"

#include "quoted_text.h"
#include "workbook_file.h"

#include <filesystem>
#include <stdexcept>

namespace correlatore {

namespace {

class Workbook : public TableOutput {
public:
    Workbook(OutputFile& output, const std::string& path, const std::string& sheet,
             std::vector<std::string> header)
        : m_output(output)
        , m_path(path)
        , m_sheet(sheet) {
        m_table.header = std::move(header);
    }

    void addRow(const std::vector<Cell>& cells) override { m_table.rows.push_back(cells); }

    void finish(const std::vector<Detail>& details) override {
        m_table.details = details;
        try {
            writeWorkbookFile(m_output.writableName(), "correlatore-cli " + m_sheet, m_sheet,
                              m_table);
        } catch (const std::runtime_error& error) {
            throw std::runtime_error("cannot write " + quotedText(m_path) + ": " + error.what());
        }
    }

private:
    OutputFile& m_output;
    std::string m_path;
    std::string m_sheet;
    Table m_table;
};

} // namespace

std::unique_ptr<TableOutput> openWorkbook(OutputFile& output, const std::string& path,
                                          const std::string& sheet,
                                          std::vector<std::string> header) {
    if (!canWriteWorkbooks())
        throw std::runtime_error("cannot write " + quotedText(path) +
                                 ": this build has no workbook writer (built without "
                                 "libxlsxwriter); any other name gets CSV");
    // The zip inside is written with seeks; said before a run rather than by the library after it.
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(output.writableName(), ignored))
        throw std::runtime_error("cannot write " + quotedText(path) +
                                 ": a workbook needs a regular file, not a pipe or a device");
    return std::make_unique<Workbook>(output, path, sheet, std::move(header));
}

} // namespace correlatore
