#pragma once

#include "table_cells.h"

#include <string>

namespace correlatore {

// Whether this build writes workbooks (it has libxlsxwriter).
bool canWriteWorkbooks();

// Writes `table` as a workbook to the file `filename`: one sheet named `sheet`, the details above
// the table, the header in bold and kept in view, every cell a number, whatever the locale.
// `title` goes into the document's properties. Throws std::runtime_error with the reason (no
// file name) when it cannot, or when this build has no workbook writer.
void writeWorkbookFile(const std::string& filename, const std::string& title,
                       const std::string& sheet, const Table& table);

} // namespace correlatore
