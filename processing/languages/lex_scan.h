// Small pieces the hand-written lexers share: quoted literals, line ends, words and the bodies
// of here-documents.
#pragma once
#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "files/byte_scan.h"
#include "processing/languages/comment_spans.h"

namespace lex_scan {

inline bool IsWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return static_cast<unsigned>((u | 0x20) - 'a') < 26u || static_cast<unsigned>(u - '0') < 10u ||
           c == '_' || u >= 0x80;
}

// The first CR or LF at or after `from`, or the text's size: where a line comment stops.
inline size_t LineEnd(std::string_view text, size_t from) {
    return byte_scan::FindEither(text, from, '\n', '\r');
}

// Just past the LF (or lone CR) that ends the line holding `from`, or the text's size.
inline size_t NextLineStart(std::string_view text, size_t from) {
    size_t i = LineEnd(text, from);
    if (i < text.size() && text[i] == '\r') {
        ++i;
    }
    if (i < text.size() && text[i] == '\n') {
        ++i;
    }
    return i;
}

// How a quote is written inside a literal of its own kind.
enum class Escape {
    None,       // not at all: the first quote closes ('…' in shell)
    Backslash,  // \' (and a backslash escapes any byte)
    Doubled,    // '' (SQL)
};

// Just past the quote that closes a literal whose body starts at `from`, or the text's size when
// it is never closed.
size_t QuotedEnd(std::string_view text, size_t from, char quote, Escape escape);

// Where a here-document's closing line may be indented.
enum class Indent { None, Tabs, Blanks };

// When the line at `line` closes a here-document: a line holding `delimiter` after the allowed
// indent, and then nothing else (`wholeLine`) or no word byte. Returns the position just past the
// delimiter, or npos.
size_t ClosingLineEnd(std::string_view text, size_t line, std::string_view delimiter, Indent indent,
                      bool wholeLine);

// Finds the closing line of a here-document whose body starts at `from`. Returns the position just
// past its delimiter, or the text's size.
size_t HereDocEnd(std::string_view text, size_t from, std::string_view delimiter, Indent indent,
                  bool wholeLine);

// Reports [begin, end) as a literal when it holds a line end: its lines stay as they are, blank
// ones too.
inline void AddLiteral(std::string_view text, size_t begin, size_t end, CommentSpans& spans) {
    end = std::min(end, text.size());
    if (begin < end && byte_scan::FindEither(text, begin, '\n', '\r', end) < end) {
        spans.push_back({begin, end, false, false, true});
    }
}

// True when `text` at `at` starts with `word`, letters compared regardless of case.
bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word);

// True when `text` is `word`, letters compared regardless of case.
inline bool EqualsNoCase(std::string_view text, std::string_view word) {
    return text.size() == word.size() && StartsWithNoCase(text, 0, word);
}

// True when `text` is one of `words`, letters compared regardless of case.
inline bool IsOneOfNoCase(std::string_view text, std::initializer_list<std::string_view> words) {
    return std::ranges::any_of(words,
                               [&](std::string_view word) { return EqualsNoCase(text, word); });
}

}  // namespace lex_scan
