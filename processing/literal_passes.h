// The literal-aware comment passes: comments are found where the compiler finds them, so markers
// inside string and character literals, raw strings, text blocks and `#include <...>` names are
// text, and what the compiler reads as code stays the same code.
#pragma once

#include "files/text.h"
#include "processing/strip_options.h"

namespace literal_passes {

// Removes `//` comments (over line splices in C and C++), with the spaces and tabs before one at a
// line's end. Lines left holding only spaces and tabs are dropped, except a literal's lines and a
// line that a splice continues; kept lines are joined by the options' line end (CR LF unless told
// otherwise), with none after the last.
void StripLineComments(AnsiText& text, const StripOptions& options);

// Removes `/* */` comments the same way. A removed comment leaves one space where its two sides
// would otherwise run into one token, and one line end (in a preprocessor directive one space)
// where it spanned lines with code on both sides.
void StripBlockComments(AnsiText& text, const StripOptions& options);

}  // namespace literal_passes
