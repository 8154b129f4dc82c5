#include "exhibit/source_lines.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "exhibit/program_order.h"
#include "exhibit/source_language.h"
#include "exhibit/text_decoding.h"
#include "files/byte_scan.h"

namespace {

bool ReadFile(const std::filesystem::path& path, std::uintmax_t size, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.resize(size);
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<size_t>(in.gcount()));
    // A file that grew since it was listed is read to its end.
    char more[4096];
    while (in.read(more, sizeof more) || in.gcount() > 0) {
        bytes.append(more, static_cast<size_t>(in.gcount()));
    }
    return !in.bad();
}

// Binary files hold NUL bytes early on; UTF-16 text is told by its byte order mark first.
bool LooksBinary(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return false;
    }
    return bytes.substr(0, 8192).find('\0') != std::string_view::npos;
}

size_t CountLines(std::string_view bytes) {
    return 1 + static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// True for a line of ASCII without tabs, the bulk of sources: one byte a column.
bool IsPlainAscii(std::string_view line) {
    return byte_scan::PlainAsciiRun(line) == line.size() &&
           line.find('\t') == std::string_view::npos;
}

// Appends the line with its tabs expanded to the next multiple of `tabWidth` columns.
void ExpandTabs(std::string_view line, int tabWidth, std::string& out) {
    int column = 0;
    for (size_t i = 0; i < line.size();) {
        if (line[i] == '\t') {
            const int spaces = tabWidth - column % tabWidth;
            out.append(static_cast<size_t>(spaces), ' ');
            column += spaces;
            ++i;
            continue;
        }
        const size_t start = i;
        column += ColumnsOf(NextCodePoint(line, i));
        out.append(line.substr(start, i - start));
    }
}

}  // namespace

int ColumnsOf(char32_t c) {
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                      (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                      (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
                      (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

int WidthOf(const std::string& text) {
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        width += ColumnsOf(NextCodePoint(text, i));
    }
    return width;
}

std::uintmax_t WrapLine(const std::string& line, int columns, std::vector<std::string>* rows) {
    if (IsPlainAscii(line)) {
        const auto width = static_cast<size_t>(columns);
        for (size_t start = 0; rows && (start == 0 || start < line.size()); start += width) {
            rows->push_back(line.substr(start, width));
        }
        return line.empty() ? 1 : (line.size() + width - 1) / width;
    }
    std::uintmax_t count = 1;
    size_t start = 0;
    int width = 0;
    for (size_t i = 0; i < line.size();) {
        const size_t at = i;
        const int w = ColumnsOf(NextCodePoint(line, i));
        if (width + w > columns) {
            if (rows) {
                rows->push_back(line.substr(start, at - start));
            }
            ++count;
            start = at;
            width = 0;
        }
        width += w;
    }
    if (rows) {
        rows->push_back(line.substr(start));
    }
    return count;
}

SourceLines PrepareSource(const CollectedFile& file, const std::string& encoding, int tabWidth,
                          int columns, bool keepLines) {
    SourceLines result;
    std::string bytes;
    if (!ReadFile(file.path, file.size, bytes)) {
        result.status = SourceStatus::Unreadable;
        return result;
    }
    if (LooksBinary(bytes)) {
        result.status = SourceStatus::Binary;
        return result;
    }
    if (LooksGenerated(bytes.size(), CountLines(bytes))) {
        result.status = SourceStatus::Generated;
        return result;
    }
    std::string text;
    if (!DecodeSourceText(bytes, encoding, text)) {
        result.status = SourceStatus::Undecodable;
        return result;
    }
    bytes = {};
    StripComments(file.shown, text);
    result.entryScore = EntryScore(file.shown, text);

    std::string expanded;
    const std::string_view all = text;
    for (size_t start = 0; start <= all.size();) {
        const size_t end = byte_scan::FindEither(all, start, '\r', '\n', all.size());
        std::string_view line = all.substr(start, end - start);
        start = end + (end + 1 < all.size() && all[end] == '\r' && all[end + 1] == '\n' ? 2 : 1);
        const size_t last = line.find_last_not_of(" \t\f\v");
        if (last == std::string_view::npos) {
            continue;
        }
        line = line.substr(0, last + 1);
        ++result.lineCount;
        std::uintmax_t rows = 0;
        if (IsPlainAscii(line)) {
            rows = (line.size() + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns);
            expanded.assign(keepLines ? line : std::string_view());
        } else {
            expanded.clear();
            ExpandTabs(line, tabWidth, expanded);
            rows = WrapLine(expanded, columns, nullptr);
        }
        result.rowCount += rows;
        result.wrappedLines += rows > 1;
        if (keepLines) {
            result.lines.push_back(expanded);
        }
    }
    return result;
}
