#include "ui/mdlBrowseFounder.h"

#include <objbase.h>
#include <shlobj.h>

#include "files/unique_handle_win32.h"

namespace mdlBrowseFounder {

namespace {

constexpr DWORD kPathBuffer = 32768;

}  // namespace

std::wstring BrowseForFolder(HWND owner, const std::wstring& title) {
    // The new dialog style needs COM on this thread; undone only if done here.
    const ComInitialisation com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE;
    const UniqueCoTaskMem items(SHBrowseForFolderW(&info));
    if (!items.Valid()) {
        return std::wstring();
    }
    std::wstring path(kPathBuffer, L'\0');
    if (!SHGetPathFromIDListEx(static_cast<PCIDLIST_ABSOLUTE>(items.Get()), path.data(),
                               kPathBuffer, GPFIDL_DEFAULT)) {
        return std::wstring();
    }
    path.resize(wcslen(path.c_str()));
    return path;
}

}  // namespace mdlBrowseFounder
