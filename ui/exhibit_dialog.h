// The dialog that makes the source exhibit from the window: the same choices as the command line,
// remembered for the next time, the work on a thread of its own behind a progress bar.
#pragma once

#include <windows.h>

// Shows the dialog modally, owned by `owner`, until the user closes it.
void ShowExhibitDialog(HWND owner);
