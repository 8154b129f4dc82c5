#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "files/long_path_win32.h"
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

// The system folder (C:\Windows\System32): where Notepad is, and a working folder for the shell
// that the user's files cannot lie in.
std::wstring SystemFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(folder.data(), MAX_PATH);
    folder.resize(length < MAX_PATH ? length : 0);
    return folder;
}

// The shell takes paths of up to MAX_PATH characters: a longer one goes with its folder in the
// short (8.3) form, where the volume has one. The file's own name stays whole, since a short name
// cuts the extension that chooses the application.
Path ShellPath(const Path& path) {
    if (path.size() < MAX_PATH) {
        return path;
    }
    Path folder = DirectoryOf(path);
    folder = LongPathForm(folder.substr(0, folder.size() - 1));
    Path shortForm(folder.size() + 1, L'\0');
    const DWORD length =
        GetShortPathNameW(folder.c_str(), shortForm.data(), static_cast<DWORD>(shortForm.size()));
    if (length == 0 || length >= shortForm.size()) {
        return path;
    }
    shortForm.resize(length);
    const Path shellPath = PlainPathForm(shortForm) + L"\\" + FileNameOf(path);
    return shellPath.size() < MAX_PATH ? shellPath : path;
}

// True when Windows itself names the file's type as one that runs code.
bool WindowsCallsDangerous(const Path& path) {
    const Path name = FileNameOf(path);
    const size_t dot = name.rfind(L'.');
    return dot != Path::npos && AssocIsDangerous(name.substr(dot).c_str());
}

}  // namespace

void ShellOpen(WindowHandle owner, const Path& path) {
    const HWND window = static_cast<HWND>(owner);
    const std::wstring system = SystemFolder();
    // The file was written relative to the current folder; the application starts in another.
    const Path full = FullPathOf(path);
    const Path target = ShellPath(full.empty() ? path : full);
    if (OpensInNotepad(path, PathExt()) || WindowsCallsDangerous(path)) {
        // Show the text of a file the shell would run; never run it. Notepad by its full path: a
        // notepad.exe in the current folder (where the open dialog left it) must not be started,
        // so without the system folder nothing is started.
        if (system.empty()) {
            return;
        }
        const std::wstring notepad = system + L"\\notepad.exe";
        const std::wstring quoted = L"\"" + target + L"\"";
        ShellExecuteW(window, L"open", notepad.c_str(), quoted.c_str(), system.c_str(),
                      SW_SHOWNORMAL);
        return;
    }
    ShellExecuteW(window, L"open", target.c_str(), nullptr,
                  system.empty() ? nullptr : system.c_str(), SW_SHOWNORMAL);
}

}  // namespace mdlPub
