#pragma once

#include "output_file.h"
#include "run_parameters.h"
#include "table_cells.h"

#include <memory>
#include <string>
#include <vector>

namespace correlatore {

// A command's table of numbers: CSV, row by row as they come, or a workbook written at the end.
class TableOutput {
public:
    virtual ~TableOutput() = default;
    virtual void addRow(const std::vector<Cell>& cells) = 0;
    // Completes the table, the workbook with `details` above it; the output file still needs its
    // commit().
    virtual void finish(const std::vector<Detail>& details) = 0;
};

// Whether a path asks for a workbook: a name ending in .xlsx, in any case.
bool namesWorkbook(const std::string& path);

// A workbook for a path ending in .xlsx, CSV otherwise; the CSV's header line is written at once.
// `sheet` names the workbook's sheet. Throws std::runtime_error when this build has no workbook
// writer.
std::unique_ptr<TableOutput> openTable(OutputFile& output, const std::string& path,
                                       const std::string& sheet, std::vector<std::string> header);

// The command line's name and version, as its workbooks and pictures name it.
inline constexpr const char* commandLineProgram = "correlatore-cli " CORRELATORE_VERSION;

} // namespace correlatore
