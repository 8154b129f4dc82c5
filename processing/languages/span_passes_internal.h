// What the passes over a text cut in two (span_passes_in_two.cpp) share with the passes over one
// text (span_passes.cpp).
#pragma once

#include <optional>
#include <string_view>

#include "files/text.h"
#include "processing/languages/span_passes.h"

namespace span_passes::internal {

// The size of `swept`, a pass's result as swept, without the line end after its last line; and,
// removing both kinds, without a second one where the two passes would take it too.
// `endHeld`: the text ends in a literal or a removed comment that would hold the first pass's last
// line end.
size_t ResultSize(std::string_view swept, std::string_view lineEnd, const Rules& rules,
                  bool endHeld, bool firstPassEndsWithLineEnd);

// Room for the spans of a text of `bytes`.
void ReserveSpans(CommentSpans& spans, size_t bytes);

// True when `at` starts a line that no backslash at the end of the line before continues.
bool StartsUncontinuedLine(std::string_view text, size_t at);

// Whether the `//` pass alone would leave `text` ending with a line end; none when the pass
// leaves nothing of it at all.
std::optional<bool> LinePassEndsWithLineEnd(std::string_view text, const CommentSpans& spans,
                                            const Rules& rules, std::string_view lineEnd);

// A part [begin, end) of `text` with both kinds of comment removed, read as a text of its own and
// written over its own bytes (or into `spill` when it outgrows them), every line ending in the
// line end: the result, and whether the part ends in something that would hold the first pass's
// last line end.
struct SweptPart {
    std::string_view result;
    bool endHeld = false;
};
SweptPart SweepPart(AnsiText& text, size_t begin, size_t end, AnsiText& spill,
                    const CommentSpans& spans, const Rules& rules, std::string_view lineEnd);

// The first line start from `at` on where a text may be cut, or npos.
size_t CutNear(std::string_view text, size_t at);

}  // namespace span_passes::internal
