// What the literal-aware passes need to know about the tokens of C, C++ and Java: which bytes
// belong to names and numbers, where a raw string starts, and when two tokens would run together.
#pragma once

#include <cstddef>
#include <string_view>

#include "processing/line_chars.h"
#include "processing/source_chars.h"
#include "processing/strip_options.h"

namespace literal_scan {

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters, digits, '_', '$' and every non-ASCII byte (a part of a name in some code page).
inline bool IsNameByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return static_cast<unsigned>((u | 0x20) - 'a') < 26u || IsDigit(c) || c == '_' || c == '$' ||
           u >= 0x80;
}

inline bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

using ::IsSpaceOrTab;

// True when the token ending just before `end` is a number. Tokens are looked for from `from` on;
// `numberGoesOnAt` is where a number went on after a digit separator, if it did.
bool NumberEndsAt(std::string_view text, size_t from, size_t end, size_t numberGoesOnAt);

enum class Prefix { None, Encoding, Raw };

// The string or character literal prefix (`u`, `U`, `L`, `u8`; `R` with those before it for raw
// strings) that ends just before `end`, when it is a whole name rather than the end of one.
Prefix PrefixEndsAt(std::string_view text, size_t from, size_t end, size_t numberGoesOnAt);

// The length of a raw string's delimiter when the '"' at `quote` opens one ("delim(" follows, at
// most 16 letters, digits and punctuation characters other than parentheses and backslash), or
// npos. A raw string prefix with no valid delimiter makes, as the compiler recovers, a literal
// that runs to the next '"'.
size_t RawDelimiterLength(std::string_view text, size_t quote);

// What stands at the end of the code before a removed comment.
struct LeftToken {
    bool number = false;
    Prefix prefix = Prefix::None;
};

// Where the `//` comment starting at `from` ends: at its line's end, in C and C++ the first one no
// splice continues, in Java also an escaped one; or at the end of the text.
size_t LineCommentEnd(std::string_view text, source_chars::SourceChars& chars, size_t from,
                      SourceLanguage language);

// Just after the "*/" that closes a block comment whose "/*" ends just before `from`, or the
// text's size when none does.
size_t BlockCommentEnd(std::string_view text, source_chars::SourceChars& chars, size_t from,
                       SourceLanguage language);

// True when `right` written straight after `left` would run the tokens at their meeting point
// together (`a` `b`, `+` `+`, `1` `.5`, `u8` `"x"`, `\` `u0041`), so that a space must stay between
// them.
bool WouldGlue(std::string_view left, LeftToken token, std::string_view right,
               SourceLanguage language);

}  // namespace literal_scan
