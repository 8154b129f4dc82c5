#include "processing/languages/span_passes.h"

#include <algorithm>
#include <optional>
#include <string>

#include "files/byte_scan.h"
#include "processing/header_comment.h"
#include "processing/languages/span_output.h"
#include "processing/languages/span_passes_internal.h"
#include "processing/line_chars.h"
#include "processing/source_chars.h"

namespace span_passes {

using namespace internal;

namespace {

constexpr size_t kNone = std::string_view::npos;

// Most lines end in something else: the last byte tells them at once, without a call.
[[gnu::always_inline]] inline bool AllSpaceOrTab(std::string_view text) {
    return text.empty() ||
           (IsSpaceOrTab(text.back()) && std::all_of(text.begin(), text.end(), IsSpaceOrTab));
}

// Bytes that end a token in every language read by a lexer of its own, so nothing runs into them.
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

size_t LexedLeftTail(std::string_view out, size_t lineStart, size_t, size_t, CommentSpan&,
                     char* tail) {
    if (out.size() == lineStart || IsSpaceOrTab(out.back())) {
        return 0;
    }
    tail[0] = out.back();
    return 1;
}

bool LexedGlues(std::string_view tail, const CommentSpan&, std::string_view source, size_t at) {
    return !IsSeparator(tail.back()) && !IsSeparator(source[at]);
}

// How many spans the file's header takes (0: it has none): its first comment, when only white space
// stands before it, or a run of line comments each alone on its line.
size_t HeaderEnd(std::string_view text, const CommentSpans& spans, bool markersWrittenOut) {
    const auto writtenOut = [&](const CommentSpan& span) {
        return !markersWrittenOut || text.substr(span.begin, 2) == (span.line ? "//" : "/*");
    };
    if (spans.empty() || spans[0].literal || !writtenOut(spans[0])) {
        return 0;
    }
    const size_t bom = ByteOrderMarkLength(text);
    if (spans[0].begin < bom ||
        !std::all_of(text.begin() + bom, text.begin() + spans[0].begin, IsWhiteSpace)) {
        return 0;
    }
    size_t last = 1;
    while (spans[0].line && last < spans.size() && spans[last].line && writtenOut(spans[last])) {
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

// One pass: the comments of one kind (or both) go, everything else is copied, line by line, over
// the source.
class SpanPass {
  public:
    SpanPass(AnsiText& text, const CommentSpans& spans, const Rules& rules, Kind kind,
             std::string_view lineEnd)
        : t_(text),
          spans_(spans),
          rules_(rules),
          kind_(kind),
          lineEnd_(lineEnd),
          splices_(rules.continuation == Continuation::Splice),
          out_(text) {}
    // Over the part [begin, end) of `text`, read as a text of its own.
    SpanPass(AnsiText& text, size_t begin, size_t end, AnsiText& spill, const CommentSpans& spans,
             const Rules& rules, Kind kind, std::string_view lineEnd)
        : t_(std::string_view(text).substr(begin, end - begin)),
          spans_(spans),
          rules_(rules),
          kind_(kind),
          lineEnd_(lineEnd),
          splices_(rules.continuation == Continuation::Splice),
          out_(text, begin, end, spill) {}

    // Removing both kinds, `firstPassEndsWithLineEnd` tells whether the first pass alone would
    // leave a line end at the end.
    void Run(bool keepHeader, bool firstPassEndsWithLineEnd = false) {
        Sweep(keepHeader);
        out_.Finish(ResultSize(out_.View(), lineEnd_, rules_, EndHeld(), firstPassEndsWithLineEnd));
    }

    // Rewrites the text line by line, each line kept ending in the line end.
    void Sweep(bool keepHeader) {
        size_t at = ByteOrderMarkLength(t_);
        out_.Put(t_.data(), at, at);
        logicalStart_ = bound_ = out_.size();
        size_t next = 0;
        if (keepHeader) {
            if (const size_t headerSpans = HeaderEnd(t_, spans_, rules_.headerMarkersWrittenOut)) {
                // The blank lines before it go, its own line's indent stays.
                Code(at, spans_[0].begin);
                const size_t end = spans_[headerSpans - 1].end;
                out_.Put(t_.data() + spans_[0].begin, end - spans_[0].begin, end);
                protectedEnd_ = logicalStart_ = bound_ = out_.size();
                at = end;
                next = headerSpans;
            }
        }
        for (; next < spans_.size(); ++next) {
            const CommentSpan& span = spans_[next];
            if (span.begin < at) {
                continue;
            }
            if (DropsLoneComment(span, at)) {
                continue;
            }
            Code(at, span.begin);
            if (span.literal) {
                Literal(span.begin, span.end);
            } else if (Removes(span) && !KeptForItsBackslash(next)) {
                Remove(span);
                openCommentRemoved_ = !span.line && span.end == t_.size();
            } else {
                Code(span.begin, span.end);
                bound_ = out_.size();
            }
            at = span.end;
        }
        Code(at, t_.size());
        // A text ending with a line end has an empty last line; it stays after a continued line.
        // The /* */ pass reads the // pass's result, whose lines are joined with none after the
        // last: a line end there ends a literal's line and an empty last line follows it.
        const bool blankLastLine = (continued_ && rules_.continuation == Continuation::Backslash) ||
                                   (kind_ == Kind::Block && InClosedLiteral());
        if (sourceLineStart_ < t_.size() || (!t_.empty() && blankLastLine)) {
            EndLine(t_.size(), false);
        }
    }

    // The result swept so far, its last line end too.
    std::string_view Swept() const { return out_.View(); }

    // The text ends inside a literal that its lexer closed there, or inside a comment left open,
    // which the second of two passes would read on to the end: either holds the first pass's
    // last line end.
    bool EndHeld() const { return InClosedLiteral() || openCommentRemoved_; }

  private:
    // A comment removed that stands alone on its line (or lines), blanks aside, takes them with
    // it (unless the line before goes on onto it). Returns true when it did, the code before it
    // copied and `at` moved past its line; false with `at` moved no further than the line's start.
    bool DropsLoneComment(const CommentSpan& span, size_t& at) {
        if (span.literal || span.keepsSpace || !Removes(span) || span.end >= t_.size() ||
            (t_[span.end] != '\r' && t_[span.end] != '\n')) {
            return false;
        }
        size_t lineStart = span.begin;
        while (lineStart > at && IsSpaceOrTab(t_[lineStart - 1])) {
            --lineStart;
        }
        if (lineStart == 0 || (t_[lineStart - 1] != '\n' && t_[lineStart - 1] != '\r')) {
            return false;
        }
        Code(at, lineStart);
        at = lineStart;
        if (sourceLineStart_ != lineStart || out_.size() != lineStart_ || !Settled() ||
            continued_) {
            return false;
        }
        at = sourceLineStart_ = AfterLineEnd(t_, span.end);
        logicalStart_ = bound_ = out_.size();
        return true;
    }

    bool InClosedLiteral() const { return lineProtected_ && rules_.literalsCloseAtTheEnd; }

    bool Removes(const CommentSpan& span) const {
        return kind_ == Kind::Both || span.line == (kind_ == Kind::Line);
    }

    // Copies [from, to), ending an output line at each line end.
    void Code(size_t from, size_t to) {
        while (from < to) {
            // Line by line is quicker but for runs of short lines.
            if (shortLines_ >= kShortLinesBeforeRuns && to - from >= 256 &&
                from == sourceLineStart_ && out_.size() == lineStart_ && Settled()) {
                from = PlainLines(from, to);
            }
            const size_t lineEnd = byte_scan::FindEither(t_, from, '\r', '\n', to);
            if (lineEnd < to && Settled()) {
                // Most lines: nothing pending, so the line is kept unless blank.
                shortLines_ = lineEnd - from < 16 ? shortLines_ + 1 : 0;
                const size_t next = AfterLineEnd(t_, lineEnd);
                out_.Put(t_.data() + from, lineEnd - from, lineEnd);
                const bool spliced = LineEndsInSplice();
                if (Droppable()) {
                    out_.Shrink(lineStart_);
                } else {
                    continued_ = splices_ ? spliced : Continues();
                    out_.Put(lineEnd_, next);
                    lineStart_ = protectedEnd_ = out_.size();
                }
                if (!spliced) {
                    logicalStart_ = bound_ = out_.size();
                }
                from = sourceLineStart_ = next;
                continue;
            }
            Write(from, lineEnd);
            if (lineEnd == to) {
                return;
            }
            from = EndLine(lineEnd, false);
        }
    }

    // Whole lines from `from` that are kept as they stand (none blank, none holding a backslash,
    // each ending in the line end written, or in LF when CR LF is written), copied in one piece
    // or line by line; returns their end.
    size_t PlainLines(size_t from, size_t to) {
        if (lineEnd_ == "\r") {
            return from;
        }
        const bool crLf = lineEnd_ == "\r\n";
        size_t k = from;
        while (true) {
            const size_t end = byte_scan::PlainLinesEnd<'\\'>(t_, k, to, crLf);
            if (end != k) {
                out_.Put(t_.data() + k, end - k, end);
                k = end;
                continue;
            }
            const size_t lfEnd = crLf ? byte_scan::PlainLinesEnd<'\\'>(t_, k, to, false) : k;
            if (lfEnd == k) {
                break;
            }
            out_.PutLinesWithCrLf(k, lfEnd);
            k = lfEnd;
        }
        if (k != from) {
            lineStart_ = protectedEnd_ = logicalStart_ = bound_ = out_.size();
            sourceLineStart_ = k;
            continued_ = false;
        }
        return k;
    }

    // A literal: its line ends end output lines that stay, blank or not.
    void Literal(size_t from, size_t to) {
        BeforeContent(from);
        while (true) {
            const size_t lineEnd = byte_scan::FindEither(t_, from, '\r', '\n', to);
            out_.Put(t_.data() + from, lineEnd - from, lineEnd);
            protectedEnd_ = out_.size();  // its blanks stay, a comment removed before them too
            if (lineEnd == to) {
                break;
            }
            from = EndLine(lineEnd, true);
        }
        protectedEnd_ = bound_ = out_.size();
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
            out_.Put(t_.data() + from, k - from, k);
            if (k == to) {
                return;
            }
            BeforeContent(k);
            from = k;
        }
        out_.Put(t_.data() + from, to - from, to);
    }

    void BeforeContent(size_t at) {
        if (breakAt_ != kNone) {
            // A comment spanning lines stood between code and code: the code after it goes on a
            // line of its own, with the indent that followed the comment; or after one space
            // where a line end would end a directive or make one.
            const std::string after(out_.View().substr(breakAt_));
            out_.Shrink(TrimmedEnd(breakAt_));
            breakAt_ = kNone;
            if (breakWithSpace_ || (rules_.startsDirective && rules_.startsDirective(t_, at))) {
                out_.Put(" ", at);
            } else {
                FinishLine(at);
                logicalStart_ = out_.size();
            }
            out_.Put(after, at);
            bound_ = out_.size();
            removedAt_ = kNone;
        } else if (glueAt_ == out_.size() &&
                   rules_.glues(std::string_view(tail_, tailSize_), glueSpan_, t_, at)) {
            out_.Put(" ", at);
        }
        glueAt_ = kNone;
    }

    void Remove(const CommentSpan& span) {
        // Markup's comments stand in text, where nothing runs together and where a space or a
        // line end left behind would be text: they leave nothing.
        const bool block = !span.line && t_.substr(span.begin, 4) != "<!--";
        if (span.keepsSpace && out_.size() > lineStart_) {
            if (!IsSpaceOrTab(out_.back())) {
                out_.Put(" ", span.end);
            }
            protectedEnd_ = out_.size();
        }
        const bool spansLines =
            block && (span.actsAsLineEnd ||
                      byte_scan::FindEither(t_, span.begin, '\r', '\n', span.end) < span.end);
        if (spansLines && (breakAt_ != kNone || !AllSpaceOrTab(Line()))) {
            if (breakAt_ == kNone) {
                breakAt_ = out_.size();
                breakWithSpace_ = span.inDirective || LineEndsInSplice();
            }
            glueAt_ = kNone;
        } else if (block && breakAt_ == kNone && glueAt_ != out_.size()) {
            size_t from = logicalStart_;
            if (out_.size() - from > 256) {
                // A long line: the last tokens are all the checks need.
                from = std::min(bound_, out_.size() - 256);
            }
            glueSpan_ = span;
            tailSize_ = rules_.leftTail(out_.View(), lineStart_, from, bound_, glueSpan_, tail_);
            if (tailSize_ != 0) {
                glueAt_ = out_.size();
            }
        }
        removedAt_ = bound_ = out_.size();
    }

    // True when the comment spans_[index] ends its line, blanks aside (and, removing both kinds,
    // a line comment that goes too), after a backslash: without it the line would be spliced to
    // the next.
    bool KeptForItsBackslash(size_t index) const {
        if (!LineEndsInSplice()) {
            return false;
        }
        size_t end = spans_[index].end;
        while (end < t_.size() && source_chars::IsSpliceBlank(t_[end])) {
            ++end;
        }
        if (kind_ == Kind::Both && index + 1 < spans_.size() && spans_[index + 1].begin == end &&
            spans_[index + 1].line) {
            return true;
        }
        return end >= t_.size() || t_[end] == '\r' || t_[end] == '\n';
    }

    bool LineEndsInSplice() const {
        return splices_ && source_chars::EndsInSplice(out_.View(), lineStart_, out_.size());
    }

    // True when the current line, ended here, would go on onto the next.
    bool Continues() const {
        switch (rules_.continuation) {
            case Continuation::Backslash:
                return out_.size() > lineStart_ && out_.back() == '\\';
            case Continuation::Splice:
                return source_chars::EndsInSplice(out_.View(), lineStart_, out_.size());
            default:
                return false;
        }
    }

    bool Settled() const {
        return !lineProtected_ && removedAt_ == kNone && glueAt_ == kNone && breakAt_ == kNone;
    }

    std::string_view Line() const { return out_.View().substr(lineStart_); }

    // A line left blank goes, unless the line before goes on onto it: in Python, shell and a C
    // directive the blank line ends what the backslash continued, and without it the next line
    // would be joined on.
    bool Droppable() const { return AllSpaceOrTab(Line()) && !continued_; }

    // Where the line's trailing spaces and tabs start, in front of `end`; a literal's bytes stay.
    size_t TrimmedEnd(size_t end) const {
        const size_t floor = std::max(lineStart_, protectedEnd_);
        while (end > floor && IsSpaceOrTab(out_[end - 1])) {
            --end;
        }
        return end;
    }

    // Ends the output line, the source being read from `readFrom` on.
    void FinishLine(size_t readFrom) {
        continued_ = Continues();
        out_.Put(lineEnd_, readFrom);
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
        const bool spliced = LineEndsInSplice();
        if (removedAt_ != kNone) {
            const size_t end = TrimmedEnd(out_.size());
            if (end <= removedAt_) {
                out_.Shrink(end);
            }
        }
        if (!lineProtected_ && !inLiteral && Droppable()) {
            out_.Shrink(lineStart_);
            StartLine();
        } else {
            FinishLine(next);
        }
        lineProtected_ = inLiteral;
        sourceLineStart_ = next;
        if (!spliced) {
            logicalStart_ = bound_ = out_.size();
        }
        return next;
    }

    // The source, over whose bytes already read the result is written.
    const std::string_view t_;
    const CommentSpans& spans_;
    const Rules& rules_;
    const Kind kind_;
    const std::string_view lineEnd_;
    const bool splices_;
    Output out_;
    size_t sourceLineStart_ = 0;
    // The current output line.
    size_t lineStart_ = 0;
    size_t protectedEnd_ = 0;     // just after the last literal byte on it
    bool lineProtected_ = false;  // it starts inside a literal
    bool continued_ = false;      // the line before it goes on onto it
    size_t removedAt_ = kNone;    // where the last comment removed from it stood
    // Its logical line's start, and the last token bound on it (a comment, a line start).
    size_t logicalStart_ = 0;
    size_t bound_ = 0;
    // A comment removed between two bytes: a space may have to go at glueAt_ (after the code's
    // tail_ before the comment glueSpan_), or a line break at breakAt_.
    size_t glueAt_ = kNone;
    char tail_[3] = {};
    size_t tailSize_ = 0;
    CommentSpan glueSpan_;
    size_t breakAt_ = kNone;
    bool breakWithSpace_ = false;
    bool openCommentRemoved_ = false;  // a block comment running to the text's end went
    // Lines shorter than 16 bytes copied one after the other just before: after a few, whole runs
    // of lines are looked for sixteen bytes at a time.
    static constexpr size_t kShortLinesBeforeRuns = 8;
    size_t shortLines_ = 0;
};

}  // namespace

namespace internal {

// The size of `swept`, a pass's result as swept, without the line end after its last line; and,
// removing both kinds, without a second one where the two passes would take it too.
// `endHeld`: the text ends in a literal or a removed comment that would hold the first pass's last
// line end.
size_t ResultSize(std::string_view swept, std::string_view lineEnd, const Rules& rules,
                  bool endHeld, bool firstPassEndsWithLineEnd) {
    size_t size = swept.size() < lineEnd.size() ? 0 : swept.size() - lineEnd.size();
    if (firstPassEndsWithLineEnd && !endHeld && swept.substr(0, size).ends_with(lineEnd)) {
        // The first pass's last line kept is empty, and so is this one: the second pass would
        // take its line end too, unless it follows a continued line or is a literal's.
        const std::string_view before = swept.substr(0, size - lineEnd.size());
        if (rules.continuation != Continuation::Backslash || !before.ends_with('\\')) {
            size -= lineEnd.size();
        }
    }
    return size;
}

// Room for the spans of a text of `bytes`, about one every 128 bytes in dense code: a large text's
// spans grow without being moved again and again.
void ReserveSpans(CommentSpans& spans, size_t bytes) {
    spans.reserve(bytes / 128);
}

// True when `at` starts a line that no backslash at the end of the line before continues.
bool StartsUncontinuedLine(std::string_view text, size_t at) {
    if (at == 0) {
        return true;
    }
    if (at >= text.size() || (text[at - 1] != '\r' && text[at - 1] != '\n') ||
        (text[at - 1] == '\r' && text[at] == '\n')) {
        return false;
    }
    const size_t lineEnd = at - (text.substr(0, at).ends_with("\r\n") ? 2 : 1);
    return !source_chars::EndsInSplice(text, 0, lineEnd);
}

// Whether the `//` pass alone would leave `text` ending with a line end (its last line kept
// empty, after a continued line or in a literal); none when the pass leaves nothing of it at all.
// Only the last lines decide it: the pass is run over the text from a line start that no span and
// no continued line reaches over, far enough back for something to be kept.
std::optional<bool> LinePassEndsWithLineEnd(std::string_view text, const CommentSpans& spans,
                                            const Rules& rules, std::string_view lineEnd) {
    CommentSpans tailSpans;
    for (size_t lines = 2;; lines *= 2) {
        size_t from = text.size();
        for (size_t n = 0; n < lines && from > 0; ++n) {
            from = text.find_last_of("\r\n", from - 1);
            from = from == std::string_view::npos ? 0 : from;
        }
        from = from == 0 ? 0 : AfterLineEnd(text, from);
        const auto after = std::partition_point(
            spans.begin(), spans.end(), [&](const auto& span) { return span.begin < from; });
        const bool inSpan = after != spans.begin() && std::prev(after)->end > from;
        if (from != 0 && (inSpan || !StartsUncontinuedLine(text, from))) {
            continue;
        }
        tailSpans.clear();
        for (auto span = after; span != spans.end(); ++span) {
            tailSpans.push_back(*span);
            tailSpans.back().begin -= from;
            tailSpans.back().end -= from;
        }
        AnsiText tail(text.substr(from));
        SpanPass(tail, tailSpans, rules, Kind::Line, lineEnd).Run(false);
        if (!tail.empty()) {
            return tail.ends_with(lineEnd);
        }
        if (from == 0) {
            return std::nullopt;
        }
    }
}

SweptPart SweepPart(AnsiText& text, size_t begin, size_t end, AnsiText& spill,
                    const CommentSpans& spans, const Rules& rules, std::string_view lineEnd) {
    SpanPass pass(text, begin, end, spill, spans, rules, Kind::Both, lineEnd);
    pass.Sweep(false);
    return {pass.Swept(), pass.EndHeld()};
}

}  // namespace internal

Rules LexedRules(CommentLexer lexer) {
    Rules rules;
    rules.lexer = lexer;
    rules.leftTail = LexedLeftTail;
    rules.glues = LexedGlues;
    return rules;
}

void Strip(AnsiText& text, const Rules& rules, Kind kind, const StripOptions& options) {
    if (kind == Kind::Both && !options.keepHeader && rules.cutsAtLineStarts &&
        text.size() >= options.splitFrom &&
        StripBothInTwo(text, rules, options.lineEnd, CutNear(text, text.size() / 2))) {
        return;
    }
    // The spans are kept for the next text.
    thread_local CommentSpans spans;
    spans.clear();
    ReserveSpans(spans, text.size());
    rules.lexer(text, spans);
    const bool lineEndLeft =
        kind == Kind::Both &&
        LinePassEndsWithLineEnd(text, spans, rules, options.lineEnd).value_or(false);
    SpanPass(text, spans, rules, kind, options.lineEnd).Run(options.keepHeader, lineEndLeft);
    if (spans.capacity() > 2 * spans.size() + 4096) {
        spans = CommentSpans();  // a large file's spans are not kept for the small ones after it
    }
}

}  // namespace span_passes
