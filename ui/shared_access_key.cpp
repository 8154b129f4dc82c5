#include "ui/shared_access_key.h"

#include <cwctype>
#include <vector>

namespace {

// The character after the single '&' of a caption, or 0.
wchar_t AccessKeyOf(HWND control) {
    wchar_t caption[128] = {};
    GetWindowTextW(control, caption, 128);
    for (const wchar_t* c = caption; *c != L'\0' && c[1] != L'\0'; ++c) {
        if (*c == L'&') {
            if (c[1] != L'&') {
                return static_cast<wchar_t>(std::towupper(c[1]));
            }
            ++c;  // "&&" is a plain ampersand
        }
    }
    return 0;
}

bool IsAccessKeyMessage(const MSG& message) {
    if (message.message == WM_SYSCHAR) {
        return true;
    }
    // Without Alt, a letter is an access key where the focus does not take characters.
    return message.message == WM_CHAR &&
           !(SendMessageW(message.hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_HASSETSEL));
}

}  // namespace

bool MoveFocusForSharedAccessKey(HWND window, const MSG& message) {
    if (!IsAccessKeyMessage(message) ||
        (message.hwnd != window && !IsChild(window, message.hwnd))) {
        return false;
    }
    const wchar_t key = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(message.wParam)));
    std::vector<HWND> carriers;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && IsWindowEnabled(child) && AccessKeyOf(child) == key) {
            carriers.push_back(child);
        }
    }
    if (carriers.size() < 2) {
        return false;
    }
    // The next carrier after the focused control, in the order of the controls.
    const HWND focus = GetFocus();
    size_t next = 0;
    for (size_t i = 0; i < carriers.size(); ++i) {
        if (carriers[i] == focus) {
            next = (i + 1) % carriers.size();
        }
    }
    SetFocus(carriers[next]);
    return true;
}
