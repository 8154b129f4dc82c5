// Where everything sits on an exhibit page, in points, shared by the PDF and the Word document so
// that both hold the same rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PageGeometry {
    static constexpr double kWidth = 595.276, kHeight = 841.89;  // A4
    static constexpr double kLeft = 56.69, kRight = 42.52, kTop = 42.52, kBottom = 56.69;
    double headerSize = 10;  // font sizes, whole half points for Word
    double codeSize = 9;
    double headerBaseline = 0;
    double ruleY = 0;
    double bodyTop = 0;
    double rowHeight = 0;  // whole twentieths of a point for Word
    double footerBaseline = 0;
    double columnWidth = 0;  // one column of the code font
    int columns = 0;         // a row's columns, line numbers included
    int numberColumns = 0;   // of those, the line number's
    int CodeColumns() const { return columns - numberColumns; }
};

// The page for `linesPerPage` rows in a code font whose characters advance `advance` thousandths of
// an em.
PageGeometry GeometryFor(int linesPerPage, int advance, bool lineNumbers);

struct PageRow {
    std::uintmax_t lineNumber = 0;  // 0 on the rows a long line wraps onto
    std::string text;
};

struct DocumentPage {
    std::string header;      // name and version, on the left
    std::string pageNumber;  // on the right
    std::vector<PageRow> rows;
};

struct DocumentText {
    std::string title;
    std::string footer;
    std::vector<DocumentPage> pages;
};

// A row as printed: with line numbers, the number right-aligned before the code.
std::string RowText(const PageRow& row, const PageGeometry& geometry);
