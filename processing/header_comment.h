// The file's header comment: its first comment, when only white space stands before it.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "processing/strip_options.h"

struct HeaderComment {
    size_t begin;  // where its "/*" or first "//" stands
    size_t end;    // just after its "*/", or where its last "//" line ends (before the line end)
};

// One block comment, or a run of lines that each hold only a `//` comment. White space here is
// spaces, tabs, line ends, form feeds and vertical tabs, after a UTF-8 byte order mark if the
// text starts with one. Read as the passes of `options` read comments: the literal-aware ones
// close "/*/" only at a later "*/" and continue a C or C++ `//` comment over a line splice.
std::optional<HeaderComment> FindHeaderComment(std::string_view text, const StripOptions& options);

// Length of the UTF-8 byte order mark at the start of `text`, 0 when there is none.
size_t ByteOrderMarkLength(std::string_view text);
