// A modal, resizable window that shows a prompt whose text is too long for a message box: the
// whole text in a read-only, scrollable, monospaced field, with the prompt's buttons and icon.
#pragma once

#include <windows.h>

#include "files/message_prompt.h"

inline constexpr wchar_t kTextViewerClass[] = L"OrvandelTextViewer";
inline constexpr int kTextViewerEditId = 100;

// Shows the viewer owned by `owner` (disabled meanwhile) and returns the answer.
PromptAnswer ShowTextViewer(HWND owner, const Prompt& prompt);
