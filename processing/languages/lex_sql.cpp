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

bool IsDigit(char c) {
    return static_cast<unsigned>(c - '0') < 10u;
}

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

// True when a token starts at `i`, rather than a name going on through it (`a$b$`, `xE`). The
// tokens of the run of name bytes and `$` before it, from `from` on, are read as PostgreSQL reads
// them: numbers, parameters (`$1`) and names, which take every name byte and `$` after them.
bool StartsToken(std::string_view text, size_t from, size_t i) {
    constexpr size_t kLongestLook = 256;  // a longer run is taken as a name
    const auto inRun = [&](size_t k) { return IsWordByte(text[k]) || text[k] == '$'; };
    size_t k = i;
    while (k > from && inRun(k - 1)) {
        if (i - --k > kLongestLook) {
            return false;
        }
    }
    while (k < i) {
        if (IsDigit(text[k]) || text[k] == '$') {
            ++k;  // a number's digits, or a parameter's `$` and digits
            while (k < i && IsDigit(text[k])) {
                ++k;
            }
        } else {
            return false;  // a name, which goes on through `$`
        }
    }
    return true;
}

// The dollar quote's tag (`$$` or `$name$`) opening at `i`, or an empty view when there is none.
// Tokens are looked for from `from` on (not in the literal or comment before it).
std::string_view DollarTag(std::string_view text, size_t from, size_t i) {
    if (!StartsToken(text, from, i)) {
        return {};
    }
    size_t end = i + 1;
    if (end < text.size() && IsDigit(text[end])) {
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

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// PostgreSQL continues a `'…'` constant with a `'…'` right after it when only white space holding
// a line end and `--` comments stand between them (scan.l's {quotecontinue}), but a `/* */`
// comment keeps the two apart. Removing such a comment would join them where a line end stays
// between them (one in the comment stays too, when the comment stands between code), and nothing
// but a comment can keep them apart there: those comments stay. The gap is `[begin, end)`; its
// comments are `spans` from `first` on.
void KeepSeparatingComments(std::string_view text, size_t begin, size_t end, size_t first,
                            CommentSpans& spans) {
    bool block = false;
    size_t k = first;
    for (size_t p = begin; p < end;) {
        if (k < spans.size() && spans[k].begin == p && !spans[k].literal) {
            block = block || !spans[k].line;
            p = spans[k++].end;
        } else if (IsSpace(text[p])) {
            ++p;
        } else {
            return;  // a token stands between them
        }
    }
    const std::string_view gap = text.substr(begin, end - begin);
    if (block && gap.find_first_of("\n\r") != std::string_view::npos) {
        std::erase_if(spans, [&](const CommentSpan& s) { return s.begin >= begin && !s.line; });
    }
}

}  // namespace

void LexSql(std::string_view text, CommentSpans& spans) {
    size_t i = 0;
    size_t afterLiteral = 0;                      // where the last literal or comment ended
    size_t constantEnd = std::string_view::npos;  // where the last `'…'` constant ended
    size_t spansAfterConstant = 0;                // the comments after it are spans from here on
    while (true) {
        i = byte_scan::FindFirstOf<'-', '/', '\'', '"', '`', '$'>(text, i);
        if (i >= text.size()) {
            return;
        }
        const size_t at = i;
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
                if (constantEnd != std::string_view::npos) {
                    KeepSeparatingComments(text, constantEnd, i, spansAfterConstant, spans);
                }
                const bool escapes = i > afterLiteral && (text[i - 1] | 0x20) == 'e' &&
                                     StartsToken(text, afterLiteral, i - 1);
                i = QuotedEnd(text, i + 1, '\'', escapes ? Escape::Backslash : Escape::Doubled);
                break;
            }
            case '"':
            case '`':
                i = QuotedEnd(text, i + 1, text[i], Escape::Doubled);
                break;
            case '$': {
                const std::string_view tag = DollarTag(text, afterLiteral, i);
                if (tag.empty()) {
                    ++i;
                    break;
                }
                const size_t close = text.find(tag, i + tag.size());
                i = close == std::string_view::npos ? text.size() : close + tag.size();
                break;
            }
        }
        if (i > at + 1) {
            afterLiteral = i;  // only literals and comments take more than one byte here
            if (spans.empty() || spans.back().end <= at) {
                lex_scan::AddLiteral(text, at, i, spans);  // a literal: no comment was added
            }
            if (text[at] == '\'') {
                constantEnd = i;
                spansAfterConstant = spans.size();
            }
        }
    }
}
