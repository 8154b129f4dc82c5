// Conversions between UTF-8, UTF-16 and `wchar_t` text that never fail.
#pragma once

#include <string_view>

#include "files/text.h"

// Decodes UTF-8; each byte of an ill-formed sequence becomes U+FFFD, and so does NUL.
void DecodeUtf8Lossy(std::string_view bytes, DisplayText& out);

inline DisplayText DecodeUtf8Lossy(std::string_view bytes) {
    DisplayText out;
    DecodeUtf8Lossy(bytes, out);
    return out;
}

// Decodes UTF-8 exactly; false on any ill-formed sequence, where a lossy decoding would name
// another file.
bool DecodeUtf8Strict(std::string_view bytes, std::wstring& out);

// True when `bytes` are well-formed UTF-8 (NUL included).
bool IsWellFormedUtf8(std::string_view bytes);

// A path or field text as a prompt shows it (characters beyond U+FFFF as surrogate pairs where
// `wchar_t` holds them whole).
DisplayText ToDisplayText(std::wstring_view text);

// Encodes text as UTF-8 (POSIX file names).
std::string EncodeUtf8(std::wstring_view text);
