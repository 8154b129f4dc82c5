// The line ends of a result: the passes end every line with CR LF; other line ends replace them.
#pragma once

#include <string_view>

#include "cli/cli_options.h"
#include "files/text.h"

// The line end `mode` asks for: for Keep, the first one in `source` (CR LF, LF or CR), or CR LF
// when the source has none.
std::string_view ChosenLineEnd(LineEnds mode, std::string_view source);

// Gives every line end of `text` the form `lineEnd` (CR LF, LF or CR), in place: the passes end
// their lines with CR LF, while a kept header keeps the source's own line ends.
void ConvertLineEnds(AnsiText& text, std::string_view lineEnd);
