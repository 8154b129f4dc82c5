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

// The header names on the directive line of `text` whose name starts at `from` (just after its
// '#' or "%:"): the `<...>` after `include`, `include_next` or `import` as the directive's name,
// and after `__has_include(` or `__has_include_next(`; splices, blanks and block comments may
// stand between. The search ends at the first literal or `//` comment.
std::vector<Span> Find(std::string_view text, source_chars::SourceChars& chars, size_t from);

}  // namespace header_names
