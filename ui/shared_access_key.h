// Access keys shared by several controls: pressing one moves the focus to the next control that
// carries it instead of pressing it, as the dialog manager of Windows does. Wine's presses the
// first one, so the window does it itself.
#pragma once

#include <windows.h>

// Handles an access key of `window` that more than one of its controls carries; false for any
// other message, which then goes to the dialog manager as usual.
bool MoveFocusForSharedAccessKey(HWND window, const MSG& message);
