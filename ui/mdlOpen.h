// The open-file dialog that picks the source file.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "files/message_prompt.h"

namespace mdlOpen {

// The dialog's filter: C-family sources first, then all files, each part NUL-terminated.
std::wstring CFamilyFilter();

// The dialog record and the buffers it points into, kept together.
struct OpenRecord {
    OPENFILENAMEW fields{};
    std::wstring title;
    std::wstring filter;
    std::wstring file;       // receives the chosen path
    std::wstring fileTitle;  // receives the chosen file's name
};

// Fills `record` for a dialog owned by `owner`. Its buffers hold paths of any length.
void FillOpenRecord(OpenRecord& record, HWND owner, const std::wstring& title,
                    const std::wstring& filter);

using OpenFileCall = BOOL(WINAPI*)(OPENFILENAMEW*);

// Shows the dialog and returns the chosen path, or the empty text when it was cancelled or failed.
// Anything that goes wrong on the way is shown through `prompter` ("Error: " number description).
std::wstring ShowOpenDialog(HWND owner, const std::wstring& title, const std::wstring& filter,
                            Prompter& prompter, OpenFileCall call = GetOpenFileNameW);

}  // namespace mdlOpen
