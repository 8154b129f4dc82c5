// The two comment passes: `//` comments with blank lines first, then `/* */` comments. Both are
// plain byte scans that know nothing of string literals, escapes or preprocessor lines.
#pragma once

#include <optional>
#include <string_view>

#include "files/text.h"
#include "processing/strip_options.h"

// Cuts every line of `source` at its first "//" and drops the lines that are then blank (empty
// or spaces only; a tab is content). Kept lines are joined by CR LF, with none after the last.
// Works in the text's own buffer.
void StripLineCommentsInPlace(AnsiText& source);

inline AnsiText StripLineCommentsFromText(std::string_view source) {
    AnsiText text(source);
    StripLineCommentsInPlace(text);
    return text;
}

// The first pass on the file at `path`, read into `text` (whose storage is reused); false when
// the file cannot be opened or read.
bool StripLineComments(const Path& path, AnsiText& text);

// The first pass on the file at `path`; nothing when the file cannot be opened or read.
std::optional<AnsiText> StripLineComments(const Path& path);

// Drops everything from "/*" to the first "*/" after it (comments do not nest), and a "*/"
// standing outside a comment. When a "*/" is followed by the CR LF that ends its line, that CR LF
// goes too, so a comment's own lines leave no blank line behind.
// The result is never longer than the text, so it can be built in the text's own buffer.
void StripBlockCommentsInPlace(AnsiText& text);

inline AnsiText StripBlockComments(std::string_view text) {
    AnsiText result(text);
    StripBlockCommentsInPlace(result);
    return result;
}

// The two passes with options. With both options off they are the plain passes above, byte for
// byte. With `literals` they are the literal-aware passes (processing/languages/cfamily.h); with
// `keepHeader` the file's first comment, when only white space stands before it, is kept exactly
// as it stands, line ends included (processing/header_comment.h).
void StripLineCommentsInPlace(AnsiText& text, const StripOptions& options);
void StripBlockCommentsInPlace(AnsiText& text, const StripOptions& options);

// Both passes, the second over the first's result, for a caller that needs only the end result:
// the literal-aware passes then read the text once and remove both kinds in one sweep (unless the
// header is kept).
void StripCommentsInPlace(AnsiText& text, const StripOptions& options);

// True when the passes end every line with the options' line end themselves: the literal-aware
// passes (and a lexer's), with no header kept as it stands.
bool EndsLinesAsTold(const StripOptions& options);

// The first pass with options on the file at `path`, read into `text`; false when the file cannot
// be opened or read.
bool StripLineComments(const Path& path, AnsiText& text, const StripOptions& options);
