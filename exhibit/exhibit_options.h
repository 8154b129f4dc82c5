// What an exhibit is made of and how it looks, as the command line and the dialog choose it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ExhibitOptions {
    std::string name;  // the software's name and version, UTF-8, exactly as on the form
    std::string version;
    std::vector<std::filesystem::path> roots;  // project folders (or single files)
    std::filesystem::path pdf;
    std::filesystem::path docx;  // empty: no Word document
    int linesPerPage = 50;
    std::string pageFormat = "第 X 页";  // X: the page's number, Y: the number of pages
    bool lineNumbers = false;
    std::string footer;
    std::filesystem::path first;          // empty: the entry file found in the sources
    std::vector<std::string> extensions;  // lower case, no dot; empty: every known language
    std::vector<std::string> excludes;    // .gitignore patterns, relative to each root
    bool includeTests = false;
    std::string encoding;  // of sources that are not UTF-8; empty: the system's code page
    int tabWidth = 4;
};

// A list of file types as typed ("c, .H;java"): lower case, without dots.
std::vector<std::string> ExtensionList(const std::string& text);

// The fewest lines a page may hold.
constexpr int kMinimumLinesPerPage = 50;
