// The three kinds of text the program handles.
#pragma once

#include <string>

// File contents, kept in the file's own bytes (the system ANSI code page). Every marker the
// program looks for (CR, LF, space, '/', '*') is an ASCII byte that never occurs inside a
// multi-byte character of an ANSI code page or of UTF-8, so byte scans give character results.
using AnsiText = std::string;

// What the user sees and types: field texts, prompt texts, paths.
using WideText = std::wstring;
using Path = std::wstring;

// The native handle of the main window, as the owner of prompts, dialogs and the shell open.
using WindowHandle = void*;
