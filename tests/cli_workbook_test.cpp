// Workbooks from --out FILE.xlsx, read back as a spreadsheet reads them. Guards against: numbers
// written as text (which a spreadsheet in another locale leaves as strings), a cell that differs
// from the CSV, a run's parameters missing from the sheet, a seed rounded to a spreadsheet's 15
// digits, a workbook that bypasses the output file (the replaced file's mode, leftovers), and a
// pipe or device that the library would fail on with messages of its own. A build without
// libxlsxwriter has the cli_workbook_without_library reference test instead.

#include "csv_rows.h"
#include "run_program.h"
#include "scratch_folder.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

namespace {

const std::string cli = CORRELATORE_CLI_PATH;

std::string memberOf(const std::string& workbook, const char* member) {
    std::string text;
    const unzFile zip = unzOpen64(workbook.c_str());
    if (!zip)
        return text;
    if (unzLocateFile(zip, member, 0) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[65536];
        int read = 0;
        while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(read));
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return text;
}

// A cell as the sheet holds it: a number, or a text from the shared strings.
struct Cell {
    bool isNumber = false;
    double number = 0.0;
    std::string text;
};

// The text from the end of the tag at `at` up to `close`; moves `at` past it.
std::string between(const std::string& xml, std::size_t& at, const std::string& close) {
    const std::size_t from = xml.find('>', at) + 1;
    const std::size_t to = xml.find(close, from);
    at = to + close.size();
    return xml.substr(from, to - from);
}

// The first sheet's cells by (row, column), both from 0.
std::map<std::pair<int, int>, Cell> sheetOf(const std::string& workbook) {
    std::vector<std::string> strings;
    const std::string shared = memberOf(workbook, "xl/sharedStrings.xml");
    for (std::size_t at = shared.find("<t"); at != std::string::npos; at = shared.find("<t", at))
        strings.push_back(between(shared, at, "</t>"));
    std::map<std::pair<int, int>, Cell> cells;
    const std::string sheet = memberOf(workbook, "xl/worksheets/sheet1.xml");
    for (std::size_t at = sheet.find("<c r=\""); at != std::string::npos;
         at = sheet.find("<c r=\"", at)) {
        const std::size_t tagEnd = sheet.find('>', at);
        const std::string tag = sheet.substr(at, tagEnd - at);
        const int column = tag[6] - 'A'; // the sheets here have no column past Z
        const int row = std::stoi(tag.substr(7)) - 1;
        at = sheet.find("<v>", at);
        const std::string value = between(sheet, at, "</v>");
        Cell& c = cells[{row, column}];
        c.isNumber = tag.find(" t=\"s\"") == std::string::npos;
        if (c.isNumber)
            c.number = std::strtod(value.c_str(), nullptr);
        else
            c.text = strings.at(std::stoul(value));
    }
    return cells;
}

} // namespace

TEST(CliWorkbook, HoldsTheCsvNumbersAsNumbersUnderTheRunsDetails) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::map<std::string, Cell> details;
    } cases[] = {
        {"theory", {"theory"}, {}},
        {"simulate",
         {"simulate", "--seed", "18446744073709551615", "--beta", "800", "--analogue"},
         {{"Beta", {true, 800, ""}},
          {"Nm", {true, 20000, ""}},
          {"seed", {false, 0, "18446744073709551615"}}}},
        {"expect",
         {"expect", "--beta", "6400", "--nm", "200000"},
         {{"Beta", {true, 6400, ""}}, {"Nm", {true, 200000, ""}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("cli_workbook");
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--out", folder / "data.xlsx"});
        const ProgramResult written = runProgram(cli, arguments);
        ASSERT_EQ(written.exitStatus, 0) << written.err;
        const auto rows = csvRows(runProgram(cli, c.arguments).out);
        const auto cells = sheetOf(folder / "data.xlsx");

        // The details in columns A and B, then a blank row, then the CSV's header and rows.
        std::map<std::string, Cell> details;
        int row = 0;
        for (; cells.count({row, 0}); ++row)
            details[cells.at({row, 0}).text] = cells.count({row, 1}) ? cells.at({row, 1}) : Cell{};
        EXPECT_EQ(details["program"].text, std::string("correlatore-cli ") + CORRELATORE_VERSION);
        for (const auto& [label, want] : c.details) {
            EXPECT_EQ(details[label].isNumber, want.isNumber) << label;
            EXPECT_EQ(details[label].number, want.number) << label;
            EXPECT_EQ(details[label].text, want.text) << label;
        }
        const int header = row + 1;
        ASSERT_GT(rows.size(), 200u);
        int numbers = 0;
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t column = 0; column < rows[r].size(); ++column) {
                const std::pair<int, int> at{header + static_cast<int>(r),
                                             static_cast<int>(column)};
                const std::string& field = rows[r][column];
                if (r == 0) {
                    EXPECT_EQ(cells.at(at).text, field);
                } else if (field.empty()) {
                    EXPECT_EQ(cells.count(at), 0u) << "row " << r << " column " << column;
                } else {
                    ASSERT_TRUE(cells.at(at).isNumber) << "row " << r << " column " << column;
                    const double want = std::strtod(field.c_str(), nullptr);
                    EXPECT_NEAR(cells.at(at).number, want, 1e-15 * std::fabs(want)) << field;
                    ++numbers;
                }
            }
        EXPECT_GT(numbers, 800);
    }
}

TEST(CliWorkbook, ReplacesAFileWholeAndKeepsItsMode) {
    ScratchFolder folder("cli_workbook_mode");
    writeFile(folder / "run.xlsx", "old\n", 0640);
    ProgramSetup setup;
    setup.umask = 077;
    const ProgramResult result = runProgram(cli, {"expect", "--out", folder / "run.xlsx"}, setup);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    struct stat info {};
    stat((folder / "run.xlsx").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(sheetOf(folder / "run.xlsx").count({0, 0}), 1u);
    EXPECT_EQ(folder.names(), std::set<std::string>{"run.xlsx"});
}

TEST(CliWorkbook, RefusesAPipeOrADeviceInOneLineBeforeTheRun) {
    ScratchFolder folder("cli_workbook_device");
    symlink("/dev/null", (folder / "null.xlsx").c_str());
    const ProgramResult result =
        runProgram(cli, {"simulate", "--seed", "1", "--out", folder / "null.xlsx"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "correlatore-cli: cannot write '" + folder / "null.xlsx" + "'" +
                              ": a workbook needs a regular file, not a pipe or a device\n");
}
