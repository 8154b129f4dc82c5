// Header names in C and C++ directives: a `<...>` that the preprocessor takes as one token, so
// that comment markers inside it are no comments.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "processing/source_chars.h"

namespace header_names {

struct Span {
    size_t begin;  // its '<'
    size_t end;    // just after its '>'
};

struct Found {
    std::vector<Span> names;
    size_t literalAt = std::string_view::npos;  // the quote that ended the search, if one did
};

// The header names on the directive line of `text` from `from` on: the `<...>` after `include`,
// `include_next` or `import` as the directive's name (when `from` is where that name starts, just
// after the '#' or "%:"), and after `__has_include(` or `__has_include_next(`; splices, blanks
// and block comments may stand between. The search ends at a `//` comment, and at a quote: the
// literal it opens is the lexer's to read, and the search goes on after it. What it finds goes in
// `found`, whose room is kept for the next directive.
void Find(std::string_view text, source_chars::SourceChars& chars, size_t from,
          bool atDirectiveName, Found& found);

}  // namespace header_names
