// Every line the line reader takes from a text, for comparing in tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/line_reader.h"

inline std::vector<std::string> ReadAllLines(std::string_view data) {
    std::vector<std::string> lines;
    LineReader reader(data);
    std::string_view line;
    while (reader.ReadLine(line)) {
        lines.emplace_back(line);
    }
    return lines;
}
