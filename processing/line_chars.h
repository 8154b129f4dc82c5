// The bytes every pass reads alike in every language: blanks and line ends.
#pragma once

#include <cstddef>
#include <string_view>

inline bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

// Spaces, tabs, line ends, form feeds and vertical tabs.
inline bool IsWhiteSpace(char c) {
    return IsSpaceOrTab(c) || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Where the line after the line end at `lineEnd` (a CR, an LF or a CR LF) starts.
inline size_t AfterLineEnd(std::string_view text, size_t lineEnd) {
    return lineEnd + (text.substr(lineEnd, 2) == "\r\n" ? 2 : 1);
}
