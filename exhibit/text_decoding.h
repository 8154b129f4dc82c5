// A source file's bytes as UTF-8 text: the byte order marks, UTF-8 itself, and otherwise a code
// page. One code-page half per platform.
#pragma once

#include <string>
#include <string_view>

// Decodes `bytes` into `utf8`: UTF-8 with or without a byte order mark, UTF-16 with one, and
// otherwise text in `encoding` (a name such as "GBK" or a code page number; empty: the system's
// code page). False when the bytes are not text in that encoding.
bool DecodeSourceText(std::string_view bytes, const std::string& encoding, std::string& utf8);

// True when `bytes` are well-formed UTF-8 holding no NUL.
bool IsUtf8(std::string_view bytes);

// Appends code point `c` to `out` as UTF-8.
void AppendUtf8(char32_t c, std::string& out);

// Reads the code point at `text[i]` of well-formed UTF-8 and moves `i` past it.
char32_t NextCodePoint(std::string_view text, size_t& i);

// Decodes `bytes` in the code page `encoding` names (empty: the system's own); false when it
// names no code page known here or the bytes do not decode. Platform half.
bool DecodeCodePage(std::string_view bytes, const std::string& encoding, std::string& utf8);
