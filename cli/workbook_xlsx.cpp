#include "csv.h"
#include "quoted_text.h"
#include "workbook.h"

#include <charconv>
#include <filesystem>
#include <stdexcept>
#include <xlsxwriter.h>

namespace correlatore {

namespace {

// The number a cell holds: a single-precision coordinate as the decimal that CSV shows for it
// (38.333332, not 38.33333206176758), so that the two files agree.
double numberOf(const Cell& cell) {
    if (const float* coordinate = std::get_if<float>(&cell)) {
        const std::string text = roundTrip(*coordinate);
        double value = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }
    return std::get<double>(cell);
}

class Workbook : public TableOutput {
public:
    Workbook(OutputFile& output, const std::string& path, const std::string& sheet,
             std::vector<std::string> header)
        : m_output(output)
        , m_path(path)
        , m_sheet(sheet)
        , m_header(std::move(header)) {}

    void addRow(const std::vector<Cell>& cells) override { m_rows.push_back(cells); }

    void finish(const std::vector<Detail>& details) override {
        lxw_workbook* book = workbook_new(m_output.writableName().c_str());
        if (!book)
            throw std::runtime_error("cannot write " + quotedText(m_path) +
                                     ": cannot start the workbook");
        lxw_doc_properties properties{};
        std::string title = "correlatore-cli " + m_sheet;
        properties.title = title.data();
        workbook_set_properties(book, &properties);
        lxw_worksheet* sheet = workbook_add_worksheet(book, m_sheet.c_str());
        lxw_format* bold = workbook_add_format(book);
        format_set_bold(bold);

        // The details, a blank row, then the table under a header that stays in view.
        lxw_row_t row = 0;
        for (const Detail& detail : details) {
            worksheet_write_string(sheet, row, 0, detail.label.c_str(), bold);
            if (const double* number = std::get_if<double>(&detail.value))
                worksheet_write_number(sheet, row, 1, *number, nullptr);
            else
                worksheet_write_string(sheet, row, 1, std::get<std::string>(detail.value).c_str(),
                                       nullptr);
            ++row;
        }
        ++row;
        for (std::size_t column = 0; column < m_header.size(); ++column)
            worksheet_write_string(sheet, row, static_cast<lxw_col_t>(column),
                                   m_header[column].c_str(), bold);
        worksheet_freeze_panes(sheet, ++row, 0);
        for (const std::vector<Cell>& cells : m_rows) {
            for (std::size_t column = 0; column < cells.size(); ++column)
                if (!std::holds_alternative<std::monostate>(cells[column]))
                    worksheet_write_number(sheet, row, static_cast<lxw_col_t>(column),
                                           numberOf(cells[column]), nullptr);
            ++row;
        }
        worksheet_set_column(sheet, 0, static_cast<lxw_col_t>(m_header.size() - 1), 12, nullptr);

        const lxw_error error = workbook_close(book);
        if (error != LXW_NO_ERROR)
            throw std::runtime_error("cannot write " + quotedText(m_path) + ": " +
                                     lxw_strerror(error));
    }

private:
    OutputFile& m_output;
    std::string m_path;
    std::string m_sheet;
    std::vector<std::string> m_header;
    std::vector<std::vector<Cell>> m_rows;
};

} // namespace

std::unique_ptr<TableOutput> openWorkbook(OutputFile& output, const std::string& path,
                                          const std::string& sheet,
                                          std::vector<std::string> header) {
    // The zip inside is written with seeks; said before a run rather than by the library after it.
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(output.writableName(), ignored))
        throw std::runtime_error("cannot write " + quotedText(path) +
                                 ": a workbook needs a regular file, not a pipe or a device");
    return std::make_unique<Workbook>(output, path, sheet, std::move(header));
}

} // namespace correlatore
