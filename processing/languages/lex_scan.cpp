#include "processing/languages/lex_scan.h"
#include "processing/line_chars.h"

namespace lex_scan {

size_t QuotedEnd(std::string_view text, size_t from, char quote, Escape escape) {
    size_t i = from;
    while (true) {
        i = escape == Escape::Backslash ? byte_scan::FindEither(text, i, quote, '\\')
                                        : text.find(quote, i);
        if (i >= text.size()) {
            return text.size();
        }
        if (text[i] == '\\') {
            i += 2;
            continue;
        }
        if (escape == Escape::Doubled && i + 1 < text.size() && text[i + 1] == quote) {
            i += 2;
            continue;
        }
        return i + 1;
    }
}

size_t ClosingLineEnd(std::string_view text, size_t line, std::string_view delimiter, Indent indent,
                      bool wholeLine) {
    size_t i = line;
    while (i < text.size() &&
           (indent == Indent::Blanks ? IsSpaceOrTab(text[i])
                                     : indent == Indent::Tabs && text[i] == '\t')) {
        ++i;
    }
    if (text.compare(i, delimiter.size(), delimiter) != 0) {
        return std::string_view::npos;
    }
    const size_t end = i + delimiter.size();
    const bool closes = end == text.size() || (wholeLine ? text[end] == '\n' || text[end] == '\r'
                                                         : !IsWordByte(text[end]));
    return closes ? end : std::string_view::npos;
}

size_t HereDocEnd(std::string_view text, size_t from, std::string_view delimiter, Indent indent,
                  bool wholeLine) {
    for (size_t line = from; line < text.size(); line = NextLineStart(text, line)) {
        const size_t end = ClosingLineEnd(text, line, delimiter, indent, wholeLine);
        if (end != std::string_view::npos) {
            return end;
        }
    }
    return text.size();
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    if (at > text.size() || text.size() - at < word.size()) {
        return false;
    }
    for (size_t k = 0; k < word.size(); ++k) {
        const char a = text[at + k];
        const char b = word[k];
        const bool letters = static_cast<unsigned>((a | 0x20) - 'a') < 26u;
        if (a != b && !(letters && (a | 0x20) == (b | 0x20))) {
            return false;
        }
    }
    return true;
}

}  // namespace lex_scan
