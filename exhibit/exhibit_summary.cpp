#include "exhibit/exhibit_summary.h"

#include <algorithm>

namespace {

// The exhibit's pages holding rows [first, first + count), as "3-5" or "28-30, 31-33".
std::string PagesOf(const SummaryInput& in, std::uintmax_t first, std::uintmax_t count) {
    if (count == 0) {
        return "-";
    }
    const auto perPage = static_cast<std::uintmax_t>(in.options.linesPerPage);
    std::string text;
    std::uintmax_t from = 0, to = 0;
    const auto flush = [&] {
        if (from != 0) {
            text += text.empty() ? "" : ", ";
            text += std::to_string(from);
            if (to != from) {
                text += "-";
                text += std::to_string(to);
            }
        }
    };
    for (std::uintmax_t page = first / perPage + 1; page <= (first + count - 1) / perPage + 1;
         ++page) {
        const std::uintmax_t shown = in.pages.ExhibitPageOf(page);
        if (shown == 0) {
            flush();
            from = 0;
            // The left-out middle: jump to the last pages.
            page = std::max(page, in.pages.ProgramPageOf(PageChoice::kShownAtEachEnd + 1) - 1);
            continue;
        }
        if (from != 0 && shown == to + 1) {
            to = shown;
        } else {
            flush();
            from = to = shown;
        }
    }
    flush();
    return text.empty() ? "not shown" : text;
}

}  // namespace

std::string SummaryText(const SummaryInput& in) {
    const ExhibitOptions& o = in.options;
    std::string text = "\xEF\xBB\xBF";
    const auto line = [&](const std::string& s) { text += s + "\r\n"; };
    line("软件名称 Software: " + o.name + " " + o.version);
    line("源程序量 Lines of source (comments and blank lines removed): " +
         std::to_string(in.lines));
    line("每页行数 Lines per page: " + std::to_string(o.linesPerPage));
    line("程序页数 Pages of the whole program: " + std::to_string(in.pages.ProgramPages()));
    std::string shown = std::to_string(in.pages.ExhibitPages());
    if (in.pages.ExhibitPages() < in.pages.ProgramPages()) {
        shown += " (the first " + std::to_string(PageChoice::kShownAtEachEnd) + " and the last " +
                 std::to_string(PageChoice::kShownAtEachEnd) + ")";
    }
    line("文档页数 Pages in the exhibit: " + shown);
    line("折行 Lines wrapped onto more than one row: " + std::to_string(in.wrappedLines));
    line("");
    line("文件 Files, in order (lines, pages of the exhibit, file):");
    for (const SummaryFile& file : in.files) {
        line("  " + std::to_string(file.lines) + "\t" + PagesOf(in, file.firstRow, file.rows) +
             "\t" + file.shown);
    }
    line("");
    line("未收录 Left out (" + std::to_string(in.leftOut.size()) + "):");
    for (const LeftOut& left : in.leftOut) {
        line("  " + left.shown + ": " + left.reason);
    }
    line("");
    line("警告 Warnings (" + std::to_string(in.warnings.size()) + "):");
    for (const std::string& warning : in.warnings) {
        line("  " + warning);
    }
    return text;
}
