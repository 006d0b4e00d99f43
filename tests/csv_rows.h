#pragma once

// A CSV text as a program that reads it sees it: lines split at commas, an empty last field kept.

#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        rows.emplace_back();
        std::istringstream fields(line + ",");
        std::string field;
        while (std::getline(fields, field, ','))
            rows.back().push_back(field);
    }
    return rows;
}
