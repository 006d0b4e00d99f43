#pragma once

#include "table_output.h"

namespace correlatore {

// The workbook body of TableOutput: rows are kept, and written at finish() through the output
// file's writable name, so that the file shows up only when commit() puts it in place. A build
// without a workbook writer refuses before the run.
std::unique_ptr<TableOutput> openWorkbook(OutputFile& output, const std::string& path,
                                          const std::string& sheet,
                                          std::vector<std::string> header);

} // namespace correlatore
