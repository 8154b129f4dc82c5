// PHP: `//`, `#` and `/* */` comments inside `<?php … ?>` and `<?= … ?>`; the text outside the
// tags stays as it is. A line comment ends at `?>`; `#[` opens an attribute. Literals: `'…'`,
// `"…"` and `` `…` `` (whose `{$…}` and `${…}` hold code), heredocs and nowdocs.
#include "processing/languages/lexers.h"
#include "processing/languages/lex_scan.h"

namespace {

using lex_scan::Escape;
using lex_scan::IsWordByte;

// Deeper nesting than this is read as plain bytes, so that hostile input cannot run the stack out.
constexpr int kMaxNesting = 64;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

class PhpLexer {
  public:
    PhpLexer(std::string_view text, CommentSpans& spans) : text_(text), spans_(spans) {}

    // The text outside the tags is output as it stands: it is reported as a literal.
    void Run() {
        size_t i = 0;
        size_t html = 0;
        while ((i = text_.find("<?", i)) != std::string_view::npos) {
            const bool echo = text_.compare(i + 2, 1, "=") == 0;
            if (echo || (lex_scan::StartsWithNoCase(text_, i + 2, "php") &&
                         (i + 5 == text_.size() || IsSpace(text_[i + 5])))) {
                lex_scan::AddLiteral(text_, html, i, spans_);
                tagClosed_ = false;
                html = i = Code(i + (echo ? 3 : 5), 0, false);
            } else {
                i += 2;
            }
        }
        lex_scan::AddLiteral(text_, html, text_.size(), spans_);
    }

  private:
    // Reads code from `i` to just past its `?>` or, in an interpolation (`inString`), its `}`.
    size_t Code(size_t i, int depth, bool inString) {
        int braces = 0;
        while (true) {
            i = byte_scan::FindFirstOf<'/', '#', '\'', '"', '`', '<', '?', '{', '}'>(text_, i);
            if (i >= text_.size()) {
                return i;
            }
            const char next = i + 1 < text_.size() ? text_[i + 1] : '\0';
            switch (text_[i]) {
                case '/':
                    i = next == '/' ? LineComment(i) : next == '*' ? BlockComment(i) : i + 1;
                    break;
                case '#':
                    i = next == '[' ? i + 2 : LineComment(i);
                    break;
                case '\'':
                    i = Literal(i, lex_scan::QuotedEnd(text_, i + 1, '\'', Escape::Backslash));
                    break;
                case '"':
                case '`':
                    i = Interpolated(i + 1, text_[i], depth);
                    if (tagClosed_) {
                        return i;
                    }
                    break;
                case '<':
                    i = text_.compare(i, 2, "<<") == 0 ? HereDoc(i) : i + 1;
                    break;
                case '?':
                    if (next == '>') {
                        tagClosed_ = true;  // even in a string's `{$…}`: PHP goes back to text
                        return i + 2;
                    }
                    i += next == '?' ? 2 : 1;  // `??` is one token: `??>` is not a closing tag
                    break;
                case '{':
                    ++braces, ++i;
                    break;
                case '}':
                    if (inString && braces == 0) {
                        return i + 1;
                    }
                    braces -= braces > 0, ++i;
                    break;
            }
        }
    }

    // `//` or `#` to the line's end or to a `?>`, which stays.
    size_t LineComment(size_t i) {
        const size_t lineEnd = lex_scan::LineEnd(text_, i);
        const size_t tag = text_.substr(0, lineEnd).find("?>", i);
        const size_t end = tag == std::string_view::npos ? lineEnd : tag;
        spans_.push_back({i, end, true, false});
        return end;
    }

    size_t BlockComment(size_t i) {
        const size_t close = text_.find("*/", i + 2);
        const size_t end = close == std::string_view::npos ? text_.size() : close + 2;
        spans_.push_back({i, end, false, false});
        return end;
    }

    // The body of `"…"` or `` `…` `` from `i`; returns just past its closing `quote`.
    // Its text is reported as literals, in pieces around the code in it.
    size_t Interpolated(size_t i, char quote, int depth) {
        size_t piece = i - 1;
        while (true) {
            i = byte_scan::FindFirstOf<'\\', '{', '$', '"', '`'>(text_, i);
            if (i >= text_.size()) {
                return Literal(piece, i);
            }
            const char c = text_[i];
            const char next = i + 1 < text_.size() ? text_[i + 1] : '\0';
            if (c == quote) {
                return Literal(piece, i + 1);
            }
            if (c == '\\') {
                i += 2;
            } else if (depth < kMaxNesting &&
                       ((c == '{' && next == '$') || (c == '$' && next == '{'))) {
                Literal(piece, i);
                i = piece = Code(i + (c == '{' ? 1 : 2), depth + 1, true);
                if (tagClosed_) {
                    return i;
                }
            } else {
                ++i;
            }
        }
    }

    // `<<` at `i`: `<<<ID`, `<<<"ID"` (heredocs) or `<<<'ID'` (a nowdoc), each with its line end,
    // whose body ends at the identifier, which may be indented and followed by more code.
    // Otherwise a shift operator `<<`, as PHP reads it: `<<<<<<ID` is `<<`, `<<` and `<<ID`.
    size_t HereDoc(size_t i) {
        size_t at = i + 3;
        while (at < text_.size() && lex_scan::IsBlank(text_[at])) {
            ++at;
        }
        const char quote =
            at < text_.size() && (text_[at] == '\'' || text_[at] == '"') ? text_[at] : 0;
        const size_t begin = at + (quote != 0);
        size_t end = begin;
        while (end < text_.size() && IsWordByte(text_[end])) {
            ++end;
        }
        const bool label = end > begin && static_cast<unsigned>(text_[begin] - '0') >= 10u;
        const size_t after = end + (quote != 0);
        const bool closed = quote == 0 || (end < text_.size() && text_[end] == quote);
        if (text_.compare(i, 3, "<<<") != 0 || !label || !closed || after >= text_.size() ||
            (text_[after] != '\n' && text_[after] != '\r')) {
            return i + 2;
        }
        const size_t body = lex_scan::NextLineStart(text_, after);
        return Literal(i, lex_scan::HereDocEnd(text_, body, text_.substr(begin, end - begin),
                                               lex_scan::Indent::Blanks, false));
    }

    // Reports [begin, end) as a literal if it spans lines; returns `end`.
    size_t Literal(size_t begin, size_t end) {
        lex_scan::AddLiteral(text_, begin, end, spans_);
        return end;
    }

    std::string_view text_;
    CommentSpans& spans_;
    bool tagClosed_ = false;  // a `?>` ended the code, wherever it stood
};

}  // namespace

void LexPhp(std::string_view text, CommentSpans& spans) {
    PhpLexer(text, spans).Run();
}
