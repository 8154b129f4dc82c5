// Turning file bytes into text for the screen.
#pragma once

#include <string_view>

#include "files/text.h"

// Decodes bytes in the system ANSI code page (UTF-8 on POSIX) into `shown`, reusing its storage.
// Bytes that do not decode, and NUL, which a message box cannot show, become U+FFFD; every other
// byte keeps its meaning.
void DecodeForDisplay(std::string_view bytes, DisplayText& shown);

inline DisplayText DecodeForDisplay(std::string_view bytes) {
    DisplayText shown;
    DecodeForDisplay(bytes, shown);
    return shown;
}
