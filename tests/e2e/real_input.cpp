#include "tests/e2e/real_input.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/temp_folder.h"
#include "tests/window/driver.h"

namespace {

// The navigation keys that are not on the numeric keypad send an extended scan code.
bool IsExtended(WORD key) {
    switch (key) {
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
}

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT Character(wchar_t character, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        inputs.push_back(Key(key, false));
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        inputs.push_back(Key(*key, true));
    }
    Send(inputs);
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t character : text) {
        inputs.push_back(Character(character, false));
        inputs.push_back(Character(character, true));
    }
    Send(inputs);
}

// A second click near the first within the double-click time is a double click, which an edit
// control takes without moving the focus to itself. A person does not hit the same pixel twice:
// the click goes beside the last one (where the cursor still is) when the middle is too close.
bool ClickWithMouse(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT cursor{};
    GetCursorPos(&cursor);
    const int apartX = GetSystemMetrics(SM_CXDOUBLECLK) + 1;
    const int apartY = GetSystemMetrics(SM_CYDOUBLECLK) + 1;
    const int y = (rect.top + rect.bottom) / 2;
    for (int x : {(rect.left + rect.right) / 2, (rect.left + rect.right) / 2 + apartX,
                  (rect.left + rect.right) / 2 - apartX}) {
        if (std::abs(x - cursor.x) >= apartX || std::abs(y - cursor.y) >= apartY) {
            return ClickAtScreenPoint(x, y);
        }
    }
    return false;
}

// Under Wine's virtual desktop the mouse goes through the X server: xdotool moves the pointer and
// presses the button there, and Wine turns the X events into the program's mouse messages with the
// position each event carries. (Mouse input sent through SendInput makes Wine warp the X pointer,
// and the pointer events that come back from the warp sometimes move the cursor between the
// button's press and its release.) The desktop lies at the X screen's origin, so screen
// coordinates are X coordinates. Wine starts a Unix program without a process handle to wait on,
// so the shell leaves xdotool's exit status in a file when it is done.
bool ClickAtScreenPoint(int x, int y) {
    static int clicks = 0;
    const std::wstring name = L"orvandel-click-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++clicks);
    const std::wstring status = L"Z:\\tmp\\" + name;
    // The shell lets go of this program's output first: a Unix child of a Wine process inherits
    // it, and ctest waits for every holder of a test's output to end.
    std::wstring command =
        L"\"Z:\\bin\\sh\" -c \"exec </dev/null >/dev/null 2>&1; xdotool mousemove " +
        std::to_wstring(x) + L" " + std::to_wstring(y) + L" click 1; echo $? >/tmp/" + name + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start /bin/sh for xdotool (error " << GetLastError() << ")";
        return false;
    }
    if (process.hProcess != nullptr) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    // The shell writes the status and a line end; until then the file may be empty.
    std::string code;
    WaitFor(
        [&] {
            code = ReadBytes(status);
            return !code.empty() && code.back() == '\n';
        },
        5000);
    DeleteFileW(status.c_str());
    if (code != "0\n") {
        ADD_FAILURE() << "xdotool failed (status " << code << "); is it installed?";
        return false;
    }
    POINT cursor{};
    if (!WaitFor(
            [&] {
                GetCursorPos(&cursor);
                return cursor.x == x && cursor.y == y;
            },
            2000)) {
        ADD_FAILURE() << "the mouse went to " << x << "," << y << " but Wine has it at " << cursor.x
                      << "," << cursor.y << ": is its desktop at the X origin?";
        return false;
    }
    return true;
}
