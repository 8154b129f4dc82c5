// SQL: `--` line comments and `/* */` block comments, which nest as in PostgreSQL. Literals:
// `'…'` with `''` (and backslash escapes after an `E` prefix), `"…"` and `` `…` `` names, and
// PostgreSQL's dollar quotes `$tag$…$tag$`. MySQL's executable comments `/*! … */` and optimizer
// hints `/*+ … */` stay.
#include "processing/languages/lexers.h"
#include "processing/languages/lex_scan.h"

namespace {

using lex_scan::Escape;
using lex_scan::IsWordByte;
using lex_scan::QuotedEnd;

// Just past the `*/` that closes the block comment opened at `i`, nested ones included.
size_t BlockCommentEnd(std::string_view text, size_t i, bool nests) {
    int open = 1;
    i += 2;
    while (open > 0) {
        i = byte_scan::FindEither(text, i, '*', '/');
        if (i + 1 >= text.size()) {
            return text.size();
        }
        if (text[i] == '*' && text[i + 1] == '/') {
            --open, i += 2;
        } else if (nests && text[i] == '/' && text[i + 1] == '*') {
            ++open, i += 2;
        } else {
            ++i;
        }
    }
    return i;
}

// The dollar quote's tag (`$$` or `$name$`) opening at `i`, or an empty view when there is none.
std::string_view DollarTag(std::string_view text, size_t i) {
    if (i > 0 && IsWordByte(text[i - 1])) {
        return {};  // a `$` inside a name, or a parameter like `$1` followed by more
    }
    size_t end = i + 1;
    if (end < text.size() && static_cast<unsigned>(text[end] - '0') < 10u) {
        return {};
    }
    while (end < text.size() && IsWordByte(text[end])) {
        ++end;
    }
    if (end >= text.size() || text[end] != '$') {
        return {};
    }
    return text.substr(i, end + 1 - i);
}

}  // namespace

void LexSql(std::string_view text, CommentSpans& spans) {
    size_t i = 0;
    while (true) {
        i = byte_scan::FindFirstOf<'-', '/', '\'', '"', '`', '$'>(text, i);
        if (i >= text.size()) {
            return;
        }
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        switch (text[i]) {
            case '-':
                if (next == '-') {
                    const size_t end = lex_scan::LineEnd(text, i);
                    spans.push_back({i, end, true, false});
                    i = end;
                } else {
                    ++i;
                }
                break;
            case '/':
                if (next == '*') {
                    const char kind = i + 2 < text.size() ? text[i + 2] : '\0';
                    const bool kept = kind == '!' || kind == '+';
                    const size_t end = BlockCommentEnd(text, i, !kept);
                    if (!kept) {
                        spans.push_back({i, end, false, false});
                    }
                    i = end;
                } else {
                    ++i;
                }
                break;
            case '\'': {
                const bool escapes =
                    i > 0 && (text[i - 1] | 0x20) == 'e' && (i < 2 || !IsWordByte(text[i - 2]));
                i = QuotedEnd(text, i + 1, '\'', escapes ? Escape::Backslash : Escape::Doubled);
                break;
            }
            case '"':
            case '`':
                i = QuotedEnd(text, i + 1, text[i], Escape::Doubled);
                break;
            case '$': {
                const std::string_view tag = DollarTag(text, i);
                if (tag.empty()) {
                    ++i;
                    break;
                }
                const size_t close = text.find(tag, i + tag.size());
                i = close == std::string_view::npos ? text.size() : close + tag.size();
                break;
            }
        }
    }
}
