// C, C++, Java and their kin, as their compilers read them: comments are found in the characters
// that splices and Java's Unicode escapes make, never in string and character literals, raw
// strings, text blocks and header names; and a removed comment never joins two tokens, ends or
// makes a directive, or leaves a line spliced to the next.
#pragma once

#include "processing/languages/span_passes.h"
#include "processing/strip_options.h"

namespace cfamily {

// The lexer and the rules of the passes for `language`.
const span_passes::Rules& RulesFor(SourceLanguage language);

}  // namespace cfamily
