// The folder browser that picks the save folder.
#pragma once

#include <windows.h>

#include <string>

namespace mdlBrowseFounder {

// Shows the system's folder browser with `title` above its tree and returns the chosen folder
// (a drive root ends with a backslash, other folders do not), or the empty text on cancel.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title);

}  // namespace mdlBrowseFounder
