// One source file as the exhibit shows it: decoded, its comments removed, blank lines dropped,
// trailing spaces trimmed, tabs expanded, and counted in rows of a fixed width.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exhibit/source_collector.h"

enum class SourceStatus { Taken, Unreadable, Binary, Undecodable, Generated };

struct SourceLines {
    SourceStatus status = SourceStatus::Taken;
    std::vector<std::string> lines;  // UTF-8; only when asked for
    std::uintmax_t lineCount = 0;
    std::uintmax_t rowCount = 0;
    std::uintmax_t wrappedLines = 0;  // lines longer than a row
    int entryScore = 0;               // how surely the file is the program's entry
};

// Prepares the file; the lines are kept only with `keepLines`, as counting needs none.
SourceLines PrepareSource(const CollectedFile& file, const std::string& encoding, int tabWidth,
                          int columns, bool keepLines);

// The columns a character takes in a row: 2 for East Asian wide and full-width ones.
int ColumnsOf(char32_t c);

// Splits `line` into rows of at most `columns` columns each, appended to `rows` when given;
// returns how many (at least one).
std::uintmax_t WrapLine(const std::string& line, int columns, std::vector<std::string>* rows);

// The width of `text` in columns.
int WidthOf(const std::string& text);
