#include "control_table.h"

#include "list_texts.h"

#include <algorithm>
#include <string_view>

namespace correlatore {

std::string axisNumbersCaption() {
    return "-60" + std::string(70, ' ') + "0" + std::string(75, ' ') + "+60";
}

const std::array<ControlRow, 15>& controlTable() {
    using K = ControlKind;
    constexpr ControlFont title{18, true}, large{12, true}, medium{9.75, true}, small{8.25, true};
    // One control a line, as a table reads.
    // clang-format off
    static const std::array<ControlRow, 15> table{{
        {0, "Label1", K::Label, "SIMULATORE DEL PROCESSO DI CORRELAZIONE", 5520, 7320, 9165, 435, title, blue, true},
        {1, "Command1", K::PushButton, "Crt = f(Si/Ni)", 11520, 2160, 1215, 495, windowFont, {}, false},
        {2, "Command2", K::PushButton, "Crsp = f(Si/Ni)", 11520, 3840, 1215, 495, windowFont, {}, false},
        {3, "Label2", K::Label, "Si/Ni (db)", 10080, 6450, 1125, 300, large, {}, true},
        {4, "Label3", K::Label, axisNumbersCaption(), 0, 6480, 9510, 240, medium, {}, true},
        {5, "Label4", K::Label, "+1   C = f (Si/Ni)", 9240, 0, 1920, 300, large, {}, true},
        {6, "Label5", K::Label, "0", 9360, 3000, 165, 300, large, {}, true},
        {7, "Combo1", K::ComboBox, "Beta", 2520, 8880, 1335, 315, windowFont, {}, false},
        {8, "Combo2", K::ComboBox, "Nm campioni", 840, 8880, 1335, 315, windowFont, {}, false},
        {9, "Label6", K::Label, "Nm campioni            Beta", 840, 8400, 2895, 255, medium, {}, false},
        {10, "Label7", K::Label, "Iniziali:  Nm = 20000         Beta = 100", 360, 9600, 3495, 375, small, {}, false},
        {11, "Label8", K::Label, "Funzione calcolata", 11520, 1800, 1455, 375, windowFont, red, false},
        {12, "Label9", K::Label, "Funzione sperimentale", 11400, 3480, 1815, 375, windowFont, blue, false},
        {13, "Command3", K::PushButton, "Reset", 11520, 5280, 1215, 495, windowFont, {}, false},
        {14, "Picture1", K::PictureBox, "", 7320, 8280, 5175, 1335, windowFont, {}, false},
    }};
    // clang-format on
    return table;
}

LayoutExtent layoutExtent() {
    LayoutExtent extent{0, 0};
    for (const ControlRow& row : controlTable()) {
        extent.width = std::max(extent.width, row.left + row.width);
        extent.height = std::max(extent.height, row.top + row.height);
    }
    return extent;
}

ListTexts initialListTexts() {
    const auto captionOf = [](std::string_view control) {
        const auto& table = controlTable();
        return std::find_if(table.begin(), table.end(),
                            [control](const ControlRow& row) { return row.name == control; })
            ->caption;
    };
    return {captionOf("Combo1"), captionOf("Combo2")};
}

} // namespace correlatore
