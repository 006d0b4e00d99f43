#pragma once

#include "output_file.h"
#include "run_parameters.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace correlatore {

// One value of a table: none, a double, or a single-precision chart coordinate. CSV shows each as
// the shortest text that reads back as the same value; a workbook holds that same number.
using Cell = std::variant<std::monostate, double, float>;

// What a workbook shows above its table (the program, the run's parameters, its fit), as text or
// as a number.
struct Detail {
    std::string label;
    std::variant<std::string, double> value;
};

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

// The first details of every workbook: the program's name and version, and the Beta and Nm that
// its numbers are for.
std::vector<Detail> programDetails();
std::vector<Detail> programDetails(RunParameters parameters);

} // namespace correlatore
