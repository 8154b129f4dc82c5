#include "exhibit/exhibit_options.h"

#include <cctype>

std::vector<std::string> ExtensionList(const std::string& text) {
    std::vector<std::string> extensions(1);
    for (const char c : text) {
        if (c == ',' || c == ';' || c == ' ') {
            if (!extensions.back().empty()) {
                extensions.emplace_back();
            }
        } else if (c != '.' && c != '*') {
            extensions.back() += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (extensions.back().empty()) {
        extensions.pop_back();
    }
    return extensions;
}
