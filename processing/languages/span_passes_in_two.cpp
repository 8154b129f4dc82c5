// A large text cut in two near its middle, its parts lexed and stripped at once.
#include <cstring>
#include <new>
#include <optional>
#include <thread>

#include "files/byte_scan.h"
#include "processing/header_comment.h"
#include "processing/languages/span_passes.h"
#include "processing/languages/span_passes_internal.h"
#include "processing/line_chars.h"
#include "processing/source_chars.h"

namespace span_passes {

using namespace internal;

namespace {

// True when a text may be cut at `at`: a line start that no backslash continues, not holding the
// bytes of a byte order mark (the second part would read them as its own).
bool MayCutAt(std::string_view text, size_t at) {
    return StartsUncontinuedLine(text, at) && ByteOrderMarkLength(text.substr(at)) == 0;
}

// Runs `second` on a thread of its own while `first` runs here; false when either ran out of
// memory.
template <class First, class Second>
bool RunAtOnce(First first, Second second) {
    bool secondFailed = false;
    std::thread worker([&] {
        try {
            second();
        } catch (const std::bad_alloc&) {
            secondFailed = true;
        }
    });
    try {
        first();
    } catch (const std::bad_alloc&) {
        worker.join();
        return false;
    }
    worker.join();
    return !secondFailed;
}

// One part of a text cut in two: its spans, and its result once swept.
struct Part {
    Part(size_t begin, size_t end) : begin(begin), end(end) {}

    size_t begin;
    size_t end;
    CommentSpans spans;
    AnsiText spill;  // its result, when it outgrows the part
    std::string_view swept;
    bool endHeld = false;

    // Each part is lexed into a vector of the thread's own, not one beside the other part's.
    void Lex(std::string_view text, const Rules& rules) {
        CommentSpans found;
        ReserveSpans(found, end - begin);
        rules.lexer(text.substr(begin, end - begin), found);
        spans = std::move(found);
    }

    void Sweep(AnsiText& text, const Rules& rules, std::string_view lineEnd) {
        const SweptPart part = SweepPart(text, begin, end, spill, spans, rules, lineEnd);
        swept = part.result;
        endHeld = part.endHeld;
        spans = CommentSpans();  // freed here, on the part's own thread, not after the join
    }
};

}  // namespace

bool StripBothInTwo(AnsiText& text, const Rules& rules, std::string_view lineEnd, size_t cut) {
    if (!rules.cutsAtLineStarts || cut == 0 || !MayCutAt(text, cut)) {
        return false;
    }
    Part first{0, cut};
    Part second{cut, text.size()};
    // Both parts are lexed before either is written over: until then the text can still be
    // stripped in one piece.
    std::optional<bool> lineEndLeft;  // none: the second part leaves nothing to tell by
    if (!RunAtOnce([&] { first.Lex(text, rules); },
                   [&] {
                       second.Lex(text, rules);
                       lineEndLeft = LinePassEndsWithLineEnd(std::string_view(text).substr(cut),
                                                             second.spans, rules, lineEnd);
                   }) ||
        !lineEndLeft) {
        return false;
    }
    // Only what stands open at the cut runs up to the first part's end.
    if (!first.spans.empty() && first.spans.back().end == cut) {
        return false;
    }
    if (!RunAtOnce([&] { first.Sweep(text, rules, lineEnd); },
                   [&] { second.Sweep(text, rules, lineEnd); })) {
        throw std::bad_alloc();  // the text is partly written over
    }
    const std::string_view a = first.swept;
    const std::string_view b = second.swept;
    if (a.data() == text.data() && b.data() == text.data() + cut) {
        std::memmove(text.data() + a.size(), b.data(), b.size());
        text.resize(a.size() + b.size());
    } else {
        AnsiText joined;
        joined.reserve(a.size() + b.size());
        joined.append(a).append(b);
        text.swap(joined);
    }
    text.resize(ResultSize(text, lineEnd, rules, second.endHeld, *lineEndLeft));
    return true;
}

namespace internal {

size_t CutNear(std::string_view text, size_t at) {
    for (at = byte_scan::FindEither(text, at, '\r', '\n'); at < text.size();
         at = byte_scan::FindEither(text, at, '\r', '\n')) {
        at = AfterLineEnd(text, at);
        if (MayCutAt(text, at)) {
            return at;
        }
    }
    return std::string_view::npos;
}

}  // namespace internal

}  // namespace span_passes
