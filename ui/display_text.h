// Prompt texts for the W functions.
#pragma once

#include "files/text.h"

// char16_t and wchar_t are the same UTF-16 unit on Windows, so a prompt's text goes to the W
// functions as it is.
inline const wchar_t* WindowsText(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline const wchar_t* WindowsText(const DisplayText& text) {
    return WindowsText(text.c_str());
}
