// The fonts of the window and the text viewer, scaled to a DPI.
#pragma once

#include <windows.h>

#include "files/unique_handle_win32.h"

// The system's message font at `dpi`.
Font MessageFont(int dpi);
// A monospaced font of the message font's size at `dpi`.
Font MonospacedFont(int dpi);

// Sets `font` on every child of `parent`.
void ApplyFont(HWND parent, HFONT font);
