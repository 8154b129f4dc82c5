// The literal-aware passes for every language (and the plain ones for a language whose comments
// are not `//` and `/* */`): given where its lexer finds comments and multi-line literals, the
// comments of one kind go and the text is rewritten (kept lines joined by the options' line end
// with none after the last, lines left blank dropped).
#pragma once

#include <string_view>

#include "files/text.h"
#include "processing/languages/comment_spans.h"
#include "processing/strip_options.h"

namespace span_passes {

enum class Kind { Line, Block, Both };

// What a backslash at a line's end does.
enum class Continuation : uint8_t {
    None,       // nothing (Java)
    Backslash,  // continues the line (Python, shell): a blank line after it stays, and so does
                // an empty last line
    Splice,     // splices it to the next, blanks between allowed (C, C++): a blank line after it
                // stays, a comment whose removal would leave one stays, and the next line goes on
                // the logical line that tokens are read on
};

// How a family of languages is read: its lexer, and where context decides.
struct Rules {
    CommentLexer lexer = nullptr;
    Continuation continuation = Continuation::Backslash;
    // The header's comments must start with their markers written out (`/*`, `//`), not spelled
    // through a splice or an escape.
    bool headerMarkersWrittenOut = false;
    // A literal the text ends in was closed there by its lexer (markup's text, PHP's text outside
    // its tags), not left open: the empty last line after its last line end is its own and stays.
    bool literalsCloseAtTheEnd = true;
    // Before a block comment is removed: the last characters (at most 3) of the code before it
    // that something could run into, as the compiler reads them, written to `tail`; 0 when none
    // could. `out` is the result so far, its current line starting at `lineStart`, its logical
    // line (lines that splices join) at `logicalStart` (on a long line, nearer), its last token
    // at `bound` or after. May settle `removed.tokenBefore` where the result decides it.
    size_t (*leftTail)(std::string_view out, size_t lineStart, size_t logicalStart, size_t bound,
                       CommentSpan& removed, char* tail) = nullptr;
    // True when the code at `at` in `source`, written straight after `tail`, would run into it,
    // so that the removed comment must leave a space.
    bool (*glues)(std::string_view tail, const CommentSpan& removed, std::string_view source,
                  size_t at) = nullptr;
    // True when the code at `at` would start a directive if a line end stood before it.
    bool (*startsDirective)(std::string_view source, size_t at) = nullptr;
    // Outside the lexer's spans, a line start that no backslash continues is read afresh, as if
    // the text began there: a long text may be cut there and its parts stripped apart.
    bool cutsAtLineStarts = false;
};

// The rules of the languages read by a lexer of their own (processing/languages/lexers.h): any
// code runs into a removed comment but for white space and brackets, commas and semicolons.
Rules LexedRules(CommentLexer lexer);

// Removes the comments of `kind` (Both: as the Line pass and then the Block pass would, read once;
// not with the header kept) that the rules' lexer finds in `text`, with the spaces and tabs
// before one at a line's end. A removed comment leaves one space where its two sides would
// otherwise run together, and a line end (in a directive or after a splice, or before code that
// would start a directive, a space) where it spanned lines with code on both sides. Lines of a
// literal stay as they stand. The Block pass reads `text` as the Line pass leaves it: a literal
// that takes the text's last line end is followed by an empty last line, which stays. With the
// options' `keepHeader`, the file's first comment (one block comment or a run of lines each holding
// one line comment), when only white space stands before it, stays exactly.
// Removing both kinds from a text of the options' `splitFrom` bytes or more, with rules that allow
// it, the text is cut in two near its middle (StripBothInTwo).
void Strip(AnsiText& text, const Rules& rules, Kind kind, const StripOptions& options);

// Removes both kinds of comment as Strip does, the text cut at `cut` and its two parts stripped at
// once, the second on a thread of its own. Returns false, the text left as it was, when the rules
// do not allow a cut there (`cut` must start a line no backslash continues), when something the
// lexer reads stands open over it, or when the second part leaves nothing that tells how the text
// ends.
bool StripBothInTwo(AnsiText& text, const Rules& rules, std::string_view lineEnd, size_t cut);

}  // namespace span_passes
