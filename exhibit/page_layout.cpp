#include "exhibit/page_layout.h"

#include <algorithm>
#include <cmath>

PageGeometry GeometryFor(int linesPerPage, int advance, bool lineNumbers) {
    PageGeometry g;
    g.headerBaseline = PageGeometry::kHeight - PageGeometry::kTop - g.headerSize;
    g.ruleY = g.headerBaseline - 5;
    g.bodyTop = g.ruleY - 6;
    const double body = g.bodyTop - PageGeometry::kBottom;
    g.rowHeight = std::floor(body * 20 / linesPerPage) / 20;
    g.codeSize = std::min(9.0, std::floor(g.rowHeight * 0.7 * 2) / 2);
    g.footerBaseline = PageGeometry::kBottom / 2;
    g.columnWidth = g.codeSize * advance / 1000;
    g.columns = static_cast<int>(
        (PageGeometry::kWidth - PageGeometry::kLeft - PageGeometry::kRight) / g.columnWidth);
    g.numberColumns = lineNumbers ? 7 : 0;
    return g;
}

std::string RowText(const PageRow& row, const PageGeometry& geometry) {
    if (geometry.numberColumns == 0) {
        return row.text;
    }
    std::string number = row.lineNumber == 0 ? "" : std::to_string(row.lineNumber);
    const size_t width = static_cast<size_t>(geometry.numberColumns - 1);
    number.insert(0, width > number.size() ? width - number.size() : 0, ' ');
    return number + " " + row.text;
}
