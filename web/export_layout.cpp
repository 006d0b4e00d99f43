// Writes the window's layout as JSON for the web edition's page: the control table, the client
// area it needs, the lists' items, Label3's numbers, the scale and the background. The page is laid
// out from this, so the browser and the desktop window share one table.
#include "axis_numbers.h"
#include "control_table.h"
#include "drawing_measures.h"
#include "run_parameters.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace correlatore;

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

const char* kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return "label";
    case ControlKind::PushButton:
        return "button";
    case ControlKind::ComboBox:
        return "combo";
    case ControlKind::PictureBox:
        return "picture";
    }
    return "";
}

// 0x00BBGGRR as a CSS colour, or null for the system's colour.
std::string cssColour(const std::optional<ColorRef>& colour) {
    if (!colour)
        return "null";
    char text[16];
    std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", *colour & 0xFFu, (*colour >> 8) & 0xFFu,
                  (*colour >> 16) & 0xFFu);
    return text;
}

std::string cssColour(ColorRef colour) {
    return cssColour(std::optional<ColorRef>(colour));
}

template <typename Items> std::string jsonList(const Items& items) {
    std::string out = "[";
    for (const std::string_view item : items)
        out += (out.size() > 1 ? ", " : "") + quoted(item);
    return out + "]";
}

std::string controlJson(const ControlRow& row) {
    std::ostringstream out;
    out << "    {\"tabIndex\": " << row.tabIndex << ", \"name\": " << quoted(row.name)
        << ", \"kind\": \"" << kindName(row.kind) << "\", \"caption\": " << quoted(row.caption)
        << ", \"left\": " << row.left << ", \"top\": " << row.top << ", \"width\": " << row.width
        << ", \"height\": " << row.height << ", \"pointSize\": " << row.font.pointSize
        << ", \"bold\": " << (row.font.bold ? "true" : "false")
        << ", \"textColour\": " << cssColour(row.textColour)
        << ", \"autoSize\": " << (row.autoSize ? "true" : "false") << "}";
    return out.str();
}

std::string layoutJson() {
    std::ostringstream out;
    const LayoutExtent extent = layoutExtent();
    out << "{\n  \"twipsPerPixel\": " << twipsPerPixel
        << ",\n  \"background\": " << cssColour(chartBackground)
        << ",\n  \"clientWidth\": " << extent.width << ",\n  \"clientHeight\": " << extent.height
        << ",\n  \"axisNumbers\": " << jsonList(axisNumbers())
        << ",\n  \"lists\": {\"Combo1\": " << jsonList(betaItems)
        << ", \"Combo2\": " << jsonList(nmItems) << "},\n  \"controls\": [\n";
    const auto& table = controlTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        out << controlJson(table[i]) << (i + 1 < table.size() ? ",\n" : "\n");
    out << "  ]\n}\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: correlatore-export-layout OUT.json\n";
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << layoutJson();
    file.close();
    if (!file) {
        std::cerr << "correlatore-export-layout: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
