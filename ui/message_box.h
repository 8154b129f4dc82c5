// MessagePrompt in the window: a message box, or the text viewer for texts too long for one.
#pragma once

#include <windows.h>

#include "files/message_prompt.h"

// True when a message box can show `text` whole: at most 25 lines of at most 100 characters.
bool FitsMessageBox(std::u16string_view text);

// Shows `prompt` modally, owned by `owner`, and returns the button that answered it.
PromptAnswer ShowMessagePrompt(HWND owner, const Prompt& prompt);
