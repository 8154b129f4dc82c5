// PHP: `//`, `#` and `/* */` comments inside `<?php … ?>` and `<?= … ?>`; the text outside the
// tags stays as it is. A line comment ends at `?>`; `#[` opens an attribute. Literals: `'…'`,
// `"…"` and `` `…` `` (whose `{$…}` and `${…}` hold code), heredocs and nowdocs. As in PHP's own
// scanner, `?>` leaves the code for text wherever it stands, and the next opening tag goes back
// to it: a `}` after that may still close a string's `{$…}`.
#include <algorithm>

#include "processing/languages/lexers.h"
#include "processing/languages/lex_scan.h"
#include "processing/line_chars.h"

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

    void Run() { Code(Text(0), 0, false); }

  private:
    // The text outside the tags from `i`, output as it stands: it is reported as a literal.
    // Returns just past the opening tag that ends it, or the text's size.
    size_t Text(size_t i) {
        const size_t begin = i;
        while ((i = text_.find("<?", i)) != std::string_view::npos) {
            const bool echo = text_.compare(i + 2, 1, "=") == 0;
            if (echo || (lex_scan::StartsWithNoCase(text_, i + 2, "php") &&
                         (i + 5 == text_.size() || IsSpace(text_[i + 5])))) {
                lex_scan::AddLiteral(text_, begin, i, spans_);
                return i + (echo ? 3 : 5);
            }
            i += 2;
        }
        lex_scan::AddLiteral(text_, begin, text_.size(), spans_);
        return text_.size();
    }

    // Reads code from `i` to the text's end or, in an interpolation (`inString`), just past its
    // `}`.
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
                    i = next == '/' || next == '*' ? Comment(i) : i + 1;
                    break;
                case '#':
                    i = next == '[' ? i + 2 : Comment(i);
                    break;
                case '\'':
                    i = Literal(i, lex_scan::QuotedEnd(text_, i + 1, '\'', Escape::Backslash));
                    break;
                case '"':
                case '`':
                    i = Interpolated(i + 1, text_[i], depth);
                    break;
                case '<':
                    i = text_.compare(i, 2, "<<") == 0 ? HereDoc(i, depth) : i + 1;
                    break;
                case '?':
                    // `??` is one token: `??>` is not a closing tag.
                    i = next == '>' ? Text(i + 2) : i + (next == '?' ? 2 : 1);
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

    size_t Comment(size_t i) {
        const CommentSpan span = CommentAt(i);
        spans_.push_back(span);
        return span.end;
    }

    // The comment at `i`, or an empty span: `//` or `#` to the line's end or to a `?>`, which
    // stays (code follows it on its line, so it goes as a block comment does, leaving a space
    // where `?` and `?>` would run together), or `/* … */`.
    CommentSpan CommentAt(size_t i) const {
        if (i >= text_.size()) {
            return {i, i};
        }
        const char next = i + 1 < text_.size() ? text_[i + 1] : '\0';
        if (text_[i] == '/' && next == '*') {
            const size_t close = text_.find("*/", i + 2);
            return {i, close == std::string_view::npos ? text_.size() : close + 2, false, false};
        }
        if ((text_[i] == '/' && next == '/') || (text_[i] == '#' && next != '[')) {
            const size_t lineEnd = lex_scan::LineEnd(text_, i);
            const size_t tag = text_.substr(0, lineEnd).find("?>", i);
            return tag == std::string_view::npos ? CommentSpan{i, lineEnd, true, false}
                                                 : CommentSpan{i, tag, false, false};
        }
        return {i, i};
    }

    // The body of `"…"` or `` `…` `` from `i`; returns just past its closing `quote`.
    // Its text is reported as literals, in pieces around the code in it.
    size_t Interpolated(size_t i, char quote, int depth) {
        size_t piece = i - 1;
        while ((i = byte_scan::FindFirstOf<'\\', '{', '$', '"', '`'>(text_, i)) < text_.size() &&
               text_[i] != quote) {
            i = Interpolation(i, depth, piece);
        }
        return Literal(piece, std::min(i + 1, text_.size()));
    }

    // At `i` in the body of a string or a heredoc: an escape, code in `{$…}` or `${…}`, or a byte
    // of text. Returns where the body goes on; `piece` is where its text not yet reported starts.
    size_t Interpolation(size_t i, int depth, size_t& piece) {
        const char c = text_[i];
        const char next = i + 1 < text_.size() ? text_[i + 1] : '\0';
        if (c == '\\') {
            return i + (next == '\n' || next == '\r' ? 1 : 2);  // a line end stays one
        }
        if (depth < kMaxNesting && ((c == '{' && next == '$') || (c == '$' && next == '{'))) {
            Literal(piece, i);
            size_t code = i + (c == '{' ? 1 : 2);
            // `${ID}` names a variable: a comment removed before the name leaves a space.
            if (CommentSpan span = c == '$' ? CommentAt(code) : CommentSpan{code, code};
                span.end > code && !span.line) {
                span.keepsSpace = true;
                spans_.push_back(span);
                code = span.end;
            }
            return piece = Code(code, depth + 1, true);
        }
        return i + 1;
    }

    // `<<` at `i`: `<<<ID`, `<<<"ID"` (heredocs) or `<<<'ID'` (a nowdoc), each with its line end,
    // whose body ends at the identifier, which may be indented and followed by more code; a
    // heredoc's `{$…}` and `${…}` hold code. Otherwise a shift operator `<<`, as PHP reads it:
    // `<<<<<<ID` is `<<`, `<<` and `<<ID`.
    size_t HereDoc(size_t i, int depth) {
        if (text_.compare(i, 3, "<<<") != 0) {
            return i + 2;
        }
        size_t at = i + 3;
        while (at < text_.size() && IsSpaceOrTab(text_[at])) {
            ++at;
        }
        const Label label = LabelAt(at);
        if (label.end == 0 || !LineEndAt(label.end)) {
            return NoHereDoc(i);
        }
        at = lex_scan::NextLineStart(text_, label.end);
        if (label.quote == '\'') {
            return Literal(
                i, lex_scan::HereDocEnd(text_, at, label.name, lex_scan::Indent::Blanks, false));
        }
        size_t piece = i;
        while (true) {
            // `at` starts a line of the body.
            const size_t end =
                lex_scan::ClosingLineEnd(text_, at, label.name, lex_scan::Indent::Blanks, false);
            if (end != std::string_view::npos) {
                return Literal(piece, end);
            }
            while ((at = byte_scan::FindFirstOf<'\\', '{', '$', '\n', '\r'>(text_, at)) <
                       text_.size() &&
                   !LineEndAt(at)) {
                at = Interpolation(at, depth, piece);
            }
            if (at >= text_.size()) {
                return Literal(piece, at);
            }
            at = lex_scan::NextLineStart(text_, at);
        }
    }

    // A heredoc's label at `at`: `ID`, `"ID"` or `'ID'`; `end` is 0 when there is none.
    struct Label {
        std::string_view name;
        char quote = 0;
        size_t end = 0;  // just past it
    };

    Label LabelAt(size_t at) const {
        Label label;
        label.quote = at < text_.size() && (text_[at] == '\'' || text_[at] == '"') ? text_[at] : 0;
        const size_t begin = at + (label.quote != 0);
        size_t end = begin;
        while (end < text_.size() && IsWordByte(text_[end])) {
            ++end;
        }
        const bool closed = label.quote == 0 || (end < text_.size() && text_[end] == label.quote);
        if (end > begin && static_cast<unsigned>(text_[begin] - '0') >= 10u && closed) {
            label.name = text_.substr(begin, end - begin);
            label.end = end + (label.quote != 0);
        }
        return label;
    }

    bool LineEndAt(size_t at) const {
        return at < text_.size() && (text_[at] == '\n' || text_[at] == '\r');
    }

    // `<<<` at `i` that opens no heredoc, as PHP reads it (`<<` and `<`), though removing the
    // comments on its line may make it one: when they alone stand between it, a label and the line
    // end. The first one after the label then leaves a space, or the first one before it a line
    // end. Returns where code goes on.
    size_t NoHereDoc(size_t i) {
        const auto holdsLineEnd = [&](const CommentSpan& span) {
            return lex_scan::LineEnd(text_, span.begin) < span.end;
        };
        CommentSpans before;
        const Label label = LabelAt(Comments(i + 3, before));
        if (std::ranges::any_of(before, holdsLineEnd) || label.end == 0) {
            return i + 2;  // a line end stays after `<<<`, or no label follows
        }
        CommentSpans after;
        const size_t at = Comments(label.end, after);
        if (!after.empty() &&
            (at == text_.size() || LineEndAt(at) || std::ranges::any_of(after, holdsLineEnd))) {
            after[0].keepsSpace = true;
        } else if (!before.empty() && after.empty() && LineEndAt(label.end)) {
            before[0].actsAsLineEnd = true;
        } else {
            return i + 2;
        }
        spans_.insert(spans_.end(), before.begin(), before.end());
        spans_.insert(spans_.end(), after.begin(), after.end());
        return at;
    }

    // Collects the comments from `i` with the blanks around them; returns where they end.
    size_t Comments(size_t i, CommentSpans& found) const {
        while (true) {
            while (i < text_.size() && IsSpaceOrTab(text_[i])) {
                ++i;
            }
            const CommentSpan span = CommentAt(i);
            if (span.end == i) {
                return i;
            }
            found.push_back(span);
            i = span.end;
        }
    }

    // Reports [begin, end) as a literal if it spans lines; returns `end`.
    size_t Literal(size_t begin, size_t end) {
        lex_scan::AddLiteral(text_, begin, end, spans_);
        return end;
    }

    std::string_view text_;
    CommentSpans& spans_;
};

}  // namespace

void LexPhp(std::string_view text, CommentSpans& spans) {
    PhpLexer(text, spans).Run();
}
