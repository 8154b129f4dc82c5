// The three kinds of text the program handles.
#pragma once

#include <string>

// File contents, kept in the file's own bytes (the system ANSI code page). Every marker the
// program looks for (CR, LF, space, '/', '*') is an ASCII byte that never occurs inside a
// multi-byte character of an ANSI code page or of UTF-8, so byte scans give character results.
using AnsiText = std::string;

// What the user types and the file functions take: field texts and paths.
using WideText = std::wstring;
using Path = std::wstring;

// What the prompts show: UTF-16 on every platform, as Windows holds text. A large file's display
// text is the run's biggest buffer; with 2-byte units it is half the size it would be in a
// 4-byte `wchar_t` string, and the portable build measures what the Windows build does.
using DisplayText = std::u16string;

// The native handle of the main window, as the owner of prompts, dialogs and the shell open.
using WindowHandle = void*;
