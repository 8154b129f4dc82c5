// The passes for every language read by a lexer: given where its comments and multi-line literals
// stand, the comments of one kind go and the text is rewritten as the literal-aware passes write
// it (kept lines joined by CR LF with none after the last, lines left blank dropped).
#pragma once

#include "files/text.h"
#include "processing/languages/comment_spans.h"

namespace span_passes {

enum class Kind { Line, Block };

// Removes the comments of `kind` that `lexer` finds in `text`, with the spaces and tabs before
// one at a line's end. A removed comment leaves one space where its two sides would otherwise run
// together, and a line end where it spanned lines with code on both sides. Lines of a literal
// stay as they stand. The /* */ pass reads `text` as the // pass leaves it: a literal that takes
// the text's last line end is followed by an empty last line, which stays. With `keepHeader`, the
// file's first comment (one block comment or a run of lines each holding one line comment), when
// only white space stands before it, stays exactly.
void Strip(AnsiText& text, CommentLexer lexer, Kind kind, bool keepHeader);

}  // namespace span_passes
