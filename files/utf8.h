// UTF-8 decoding that never fails.
#pragma once

#include <string_view>

#include "files/text.h"

// Decodes UTF-8; each byte of an ill-formed sequence becomes U+FFFD, and so does NUL.
void DecodeUtf8Lossy(std::string_view bytes, WideText& out);

inline WideText DecodeUtf8Lossy(std::string_view bytes) {
    WideText out;
    DecodeUtf8Lossy(bytes, out);
    return out;
}

// Encodes text as UTF-8 (POSIX file names).
std::string EncodeUtf8(std::wstring_view text);
