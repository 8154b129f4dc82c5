// A read-only, scrollable view of a long text in a monospaced font. Unlike an EDIT control it
// lays out only the lines on screen, so a text of many megabytes opens at once. The mouse
// selects, Ctrl+A selects all, Ctrl+C copies; the arrow and page keys scroll.
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t kTextViewClass[] = L"OrvandelTextView";

// Registers the window class; its windows take their text from WM_SETTEXT and answer WM_GETTEXT.
void RegisterTextView();
