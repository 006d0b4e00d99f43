#pragma once

#include "chart_text.h"
#include "csv_text.h"
#include "form_controller.h"
#include "picture_description.h"
#include "table_cells.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace correlatore {

// What the chart's context menu offers, in the menu's order. Nothing of it changes what the
// window shows.
enum class ChartAction { CopyPicture, SavePicture, SaveData, ShowAnalysis };

struct ChartMenuEntry {
    ChartAction action;
    const char* text; // as the menu shows it
    bool enabled;
};

// The menu for the form as it is. The pictures are of the chart as it shows: none while a run is
// still drawing its circles. The data and the analysis are those of the last finished run, also
// while another one runs, and there are none before the first. After a run-time error, nothing.
std::array<ChartMenuEntry, 4> chartMenu(const FormController& form);

// What the chart shows, for a picture's description: the last run's circles (a run still drawing
// shows none), the red curve. `program` is the name and version that made the picture.
PictureContent shownContent(const FormController& form, const std::string& program);

// A run's table, as `correlatore-cli simulate` writes it for the same seed, Beta and Nm;
// `program` names the program in a workbook's details.
Table runData(const FinishedRun& run, const std::string& program);
std::string runCsv(const FinishedRun& run, CsvStyle style = {});

// A file name without its suffix that says which run a file is of: "correlatore-seme-2026".
std::string runFileStem(const FinishedRun& run);

// A run's analysis as the window's second window and the page's section show it.
struct RunReport {
    std::vector<std::pair<std::string, std::string>>
        facts;           // {"Seme", "2026"}, {"Beta", "800"}, ...
    std::string verdict; // the fit in words
    std::string numbers; // the fit in numbers: italianFitNumbers()
    Figure residuals;    // the residual chart
};

RunReport runReport(const FinishedRun& run);

} // namespace correlatore
