#include "processing/languages/span_passes.h"

#include <algorithm>

#include "files/byte_scan.h"
#include "processing/header_comment.h"

namespace span_passes {

namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

bool AllSpaceOrTab(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsSpaceOrTab);
}

bool IsWhiteSpace(char c) {
    return IsSpaceOrTab(c) || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Bytes that end a token in every language read here, so that nothing runs into them.
bool IsSeparator(char c) {
    switch (c) {
        case '(':
        case ')':
        case '[':
        case ']':
        case '{':
        case '}':
        case ',':
        case ';':
            return true;
        default:
            return IsWhiteSpace(c);
    }
}

size_t AfterLineEnd(std::string_view text, size_t at) {
    return at + (text.substr(at, 2) == "\r\n" ? 2 : 1);
}

// How many spans the file's header takes (0: it has none): its first comment, when only white space
// stands before it, or a run of line comments each alone on its line.
size_t HeaderEnd(std::string_view text, const CommentSpans& spans) {
    if (spans.empty() || spans[0].literal) {
        return 0;
    }
    const size_t bom = ByteOrderMarkLength(text);
    if (spans[0].begin < bom ||
        !std::all_of(text.begin() + bom, text.begin() + spans[0].begin, IsWhiteSpace)) {
        return 0;
    }
    size_t last = 1;
    while (spans[0].line && last < spans.size() && spans[last].line) {
        const size_t lineEnd = spans[last - 1].end;
        if (lineEnd >= text.size() || spans[last].begin < lineEnd) {
            break;
        }
        const size_t nextLine = AfterLineEnd(text, lineEnd);
        if (nextLine > spans[last].begin ||
            !AllSpaceOrTab(text.substr(nextLine, spans[last].begin - nextLine))) {
            break;
        }
        ++last;
    }
    return last;
}

// One pass: the comments of one kind go, everything else is copied, line by line.
class SpanPass {
  public:
    SpanPass(std::string_view source, const CommentSpans& spans, Kind kind, AnsiText& out)
        : t_(source), spans_(spans), kind_(kind), out_(out) {
        out_.clear();
        out_.reserve(source.size() + source.size() / 8 + 16);
    }

    void Run(bool keepHeader) {
        size_t at = ByteOrderMarkLength(t_);
        out_.append(t_.substr(0, at));
        size_t next = 0;
        if (keepHeader) {
            if (const size_t headerSpans = HeaderEnd(t_, spans_)) {
                // The blank lines before it go, its own line's indent stays.
                Code(at, spans_[0].begin);
                const size_t end = spans_[headerSpans - 1].end;
                out_.append(t_.substr(spans_[0].begin, end - spans_[0].begin));
                protectedEnd_ = out_.size();
                at = end;
                next = headerSpans;
            }
        }
        for (; next < spans_.size(); ++next) {
            const CommentSpan& span = spans_[next];
            if (span.begin < at) {
                continue;
            }
            Code(at, span.begin);
            if (span.literal) {
                Literal(span.begin, span.end);
            } else if (span.line == (kind_ == Kind::Line)) {
                Remove(span);
            } else {
                Code(span.begin, span.end);
            }
            at = span.end;
        }
        Code(at, t_.size());
        // A text ending with a line end has an empty last line; it stays after a continued line.
        // The /* */ pass reads the // pass's result, whose lines are joined with none after the
        // last: a line end there ends a literal's line and an empty last line follows it.
        const bool blankLastLine = Continued() || (kind_ == Kind::Block && lineProtected_);
        if (sourceLineStart_ < t_.size() || (!t_.empty() && blankLastLine)) {
            EndLine(t_.size(), false);
        }
        out_.resize(out_.size() < 2 ? 0 : out_.size() - 2);
    }

  private:
    // Copies [from, to), ending an output line at each line end.
    void Code(size_t from, size_t to) {
        while (from < to) {
            const size_t lineEnd = byte_scan::FindEither(t_, from, '\r', '\n', to);
            if (lineEnd < to && Settled()) {
                // Most lines: nothing pending, so the line is kept with CR LF unless blank.
                out_.append(t_.data() + from, lineEnd - from);
                if (Droppable()) {
                    out_.resize(lineStart_);
                } else {
                    out_ += "\r\n";
                    lineStart_ = protectedEnd_ = out_.size();
                }
                from = sourceLineStart_ = AfterLineEnd(t_, lineEnd);
                continue;
            }
            Write(from, lineEnd);
            if (lineEnd == to) {
                return;
            }
            from = EndLine(lineEnd, false);
        }
    }

    // A literal: its line ends end output lines that stay, blank or not.
    void Literal(size_t from, size_t to) {
        BeforeContent(from);
        while (true) {
            const size_t lineEnd = byte_scan::FindEither(t_, from, '\r', '\n', to);
            out_.append(t_.substr(from, lineEnd - from));
            protectedEnd_ = out_.size();  // its blanks stay, a comment removed before them too
            if (lineEnd == to) {
                break;
            }
            from = EndLine(lineEnd, true);
        }
    }

    // Copies code within one line. Its first byte other than a space or tab may need the line
    // break or the space that a comment removed just before it leaves.
    void Write(size_t from, size_t to) {
        if (from == to) {
            return;
        }
        if (breakAt_ != kNone || glueAt_ == out_.size()) {
            size_t k = from;
            while (k < to && IsSpaceOrTab(t_[k])) {
                ++k;
            }
            out_.append(t_.substr(from, k - from));
            if (k == to) {
                return;
            }
            BeforeContent(k);
            from = k;
        }
        out_.append(t_.substr(from, to - from));
    }

    void BeforeContent(size_t at) {
        if (breakAt_ != kNone) {
            // A comment spanning lines stood between code and code: the code after it goes on a
            // line of its own, with the indent that followed the comment.
            const std::string after = out_.substr(breakAt_);
            out_.resize(TrimmedEnd(breakAt_));
            FinishLine();
            out_ += after;
        } else if (glueAt_ == out_.size() && !IsSeparator(out_.back()) && !IsSeparator(t_[at])) {
            out_ += ' ';
        }
        glueAt_ = kNone;
    }

    void Remove(const CommentSpan& span) {
        // Markup's comments stand in text, where nothing runs together and where a space or a
        // line end left behind would be text: they leave nothing.
        const bool block = !span.line && t_.substr(span.begin, 4) != "<!--";
        if (span.keepsSpace && out_.size() > lineStart_) {
            if (!IsSpaceOrTab(out_.back())) {
                out_ += ' ';
            }
            protectedEnd_ = out_.size();
        }
        if (block && (span.actsAsLineEnd ||
                      byte_scan::FindEither(t_, span.begin, '\r', '\n', span.end) < span.end)) {
            if (breakAt_ == kNone && !AllSpaceOrTab(Line())) {
                breakAt_ = out_.size();
            }
            glueAt_ = kNone;
        } else if (block && breakAt_ == kNone && out_.size() > lineStart_ &&
                   !IsSpaceOrTab(out_.back())) {
            glueAt_ = out_.size();
        }
        removedAt_ = out_.size();
    }

    bool Settled() const {
        return !lineProtected_ && removedAt_ == kNone && glueAt_ == kNone && breakAt_ == kNone;
    }

    std::string_view Line() const { return std::string_view(out_).substr(lineStart_); }

    // A line left blank goes, unless the line before goes on onto it with a backslash: in
    // Python, shell and a C directive the blank line ends what the backslash continued, and
    // without it the next line would be joined on.
    bool Droppable() const { return AllSpaceOrTab(Line()) && !Continued(); }

    bool Continued() const {
        return lineStart_ >= 3 && std::string_view(out_).substr(lineStart_ - 3, 3) == "\\\r\n";
    }

    // Where the line's trailing spaces and tabs start, in front of `end`; a literal's bytes stay.
    size_t TrimmedEnd(size_t end) const {
        const size_t floor = std::max(lineStart_, protectedEnd_);
        while (end > floor && IsSpaceOrTab(out_[end - 1])) {
            --end;
        }
        return end;
    }

    void FinishLine() {
        out_ += "\r\n";
        StartLine();
    }

    void StartLine() {
        lineStart_ = protectedEnd_ = out_.size();
        lineProtected_ = false;
        removedAt_ = glueAt_ = breakAt_ = kNone;
    }

    // Ends the output line at the line end at `at` (or the text's end); returns what follows it.
    size_t EndLine(size_t at, bool inLiteral) {
        const size_t next = at >= t_.size() ? at : AfterLineEnd(t_, at);
        if (removedAt_ != kNone) {
            const size_t end = TrimmedEnd(out_.size());
            if (end <= removedAt_) {
                out_.resize(end);
            }
        }
        if (!lineProtected_ && !inLiteral && Droppable()) {
            out_.resize(lineStart_);
            StartLine();
        } else {
            FinishLine();
        }
        lineProtected_ = inLiteral;
        sourceLineStart_ = next;
        return next;
    }

    const std::string_view t_;
    const CommentSpans& spans_;
    const Kind kind_;
    AnsiText& out_;
    size_t sourceLineStart_ = 0;
    // The current output line.
    size_t lineStart_ = 0;
    size_t protectedEnd_ = 0;     // just after the last literal byte on it
    bool lineProtected_ = false;  // it starts inside a literal
    size_t removedAt_ = kNone;    // where the last comment removed from it stood
    // A comment removed between two bytes: a space may have to go at glueAt_, or a line break
    // at breakAt_.
    size_t glueAt_ = kNone;
    size_t breakAt_ = kNone;
};

}  // namespace

void Strip(AnsiText& text, CommentLexer lexer, Kind kind, bool keepHeader) {
    // The spans and the result's buffer are kept for the next text: the result goes in place of
    // the source, whose buffer becomes the next result's.
    thread_local CommentSpans spans;
    thread_local AnsiText result;
    spans.clear();
    lexer(text, spans);
    SpanPass(text, spans, kind, result).Run(keepHeader);
    text.swap(result);
    if (result.capacity() > 2 * text.capacity() + (1 << 20)) {
        result = AnsiText();  // a large file's buffer is not kept for the small ones after it
    }
}

}  // namespace span_passes
