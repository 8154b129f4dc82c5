#include <windows.h>
#include <shellapi.h>

#include "files/mdlPub.h"

namespace mdlPub {

namespace {

std::wstring PathExt() {
    const DWORD needed = GetEnvironmentVariableW(L"PATHEXT", nullptr, 0);
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"PATHEXT", value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value.empty() ? L".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC" : value;
}

}  // namespace

void ShellOpen(WindowHandle owner, const Path& path) {
    const HWND window = static_cast<HWND>(owner);
    if (IsRunnableType(path, PathExt())) {
        // Show the text of a file the shell would run; never run it.
        const std::wstring quoted = L"\"" + path + L"\"";
        ShellExecuteW(window, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL);
        return;
    }
    ShellExecuteW(window, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace mdlPub
