// Which of the system's standard icons a prompt shows. Icon handles do not cross processes, so
// the icon is told by what is on the screen: the pixels of the prompt's icon control compared with
// each standard icon drawn by this process at the same size.
#pragma once

#include <windows.h>

#include <string>

// "none", "information", "question", "exclamation", "error" or "other" (an icon that is none of
// these, or one that could not be seen).
std::wstring StandardIconOf(HWND prompt);
