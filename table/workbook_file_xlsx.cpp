#include "csv_text.h"
#include "workbook_file.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstring>
#include <stdexcept>
#include <xlsxwriter.h>

namespace correlatore {

namespace {

// The number a cell holds: a single-precision coordinate as the decimal that CSV shows for it
// (38.333332, not 38.33333206176758), so that the two files agree.
double numberOf(const Cell& cell) {
    if (const float* coordinate = std::get_if<float>(&cell)) {
        const std::string text = shortestDecimal(*coordinate);
        double value = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }
    return std::get<double>(cell);
}

// The library prints its numbers with printf, whose decimal mark is the C locale's: under a
// program that took the user's locale (the window, in Italian: "0,5") the sheet would hold
// numbers that no spreadsheet reads. The numeric locale is "C" while the workbook is written.
class NumbersInTheCLocale {
public:
    NumbersInTheCLocale() {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        m_saved = current ? current : "C";
        std::setlocale(LC_NUMERIC, "C");
    }
    ~NumbersInTheCLocale() { std::setlocale(LC_NUMERIC, m_saved.c_str()); }
    NumbersInTheCLocale(const NumbersInTheCLocale&) = delete;
    NumbersInTheCLocale& operator=(const NumbersInTheCLocale&) = delete;

private:
    std::string m_saved;
};

// Where the library failed on a file, the system's reason (a full disk), which it leaves in errno;
// its own words otherwise.
std::string reasonOf(lxw_error error) {
    const bool failedOnAFile = error == LXW_ERROR_CREATING_XLSX_FILE ||
                               error == LXW_ERROR_CREATING_TMPFILE ||
                               error == LXW_ERROR_ZIP_FILE_OPERATION;
    return failedOnAFile && errno != 0 ? std::strerror(errno) : lxw_strerror(error);
}

} // namespace

bool canWriteWorkbooks() {
    return true;
}

void writeWorkbookFile(const std::string& filename, const std::string& title,
                       const std::string& sheetName, const Table& table) {
    const NumbersInTheCLocale numbers;
    lxw_workbook* book = workbook_new(filename.c_str());
    if (!book)
        throw std::runtime_error("cannot start the workbook");
    lxw_doc_properties properties{};
    std::string documentTitle = title;
    properties.title = documentTitle.data();
    workbook_set_properties(book, &properties);
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.c_str());
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);

    // The details, a blank row, then the table under a header that stays in view.
    lxw_row_t row = 0;
    for (const Detail& detail : table.details) {
        worksheet_write_string(sheet, row, 0, detail.label.c_str(), bold);
        if (const double* number = std::get_if<double>(&detail.value))
            worksheet_write_number(sheet, row, 1, *number, nullptr);
        else
            worksheet_write_string(sheet, row, 1, std::get<std::string>(detail.value).c_str(),
                                   nullptr);
        ++row;
    }
    ++row;
    for (std::size_t column = 0; column < table.header.size(); ++column)
        worksheet_write_string(sheet, row, static_cast<lxw_col_t>(column),
                               table.header[column].c_str(), bold);
    worksheet_freeze_panes(sheet, ++row, 0);
    for (const std::vector<Cell>& cells : table.rows) {
        for (std::size_t column = 0; column < cells.size(); ++column)
            if (!std::holds_alternative<std::monostate>(cells[column]))
                worksheet_write_number(sheet, row, static_cast<lxw_col_t>(column),
                                       numberOf(cells[column]), nullptr);
        ++row;
    }
    worksheet_set_column(sheet, 0, static_cast<lxw_col_t>(table.header.size() - 1), 12, nullptr);

    errno = 0;
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(reasonOf(error));
}

} // namespace correlatore
