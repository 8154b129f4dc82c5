#include "ui/shared_access_key.h"

#include <cwctype>
#include <vector>

namespace {

// The character after the single '&' of a button's or label's caption, or 0. Other controls show
// their text as it is, so an '&' in a field's path is no access key.
wchar_t AccessKeyOf(HWND control) {
    const LRESULT code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
    const bool label = (code & DLGC_STATIC) && !(GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX);
    if (!label && !(code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        return 0;
    }
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
    // The controls in tab order, which is the order they were created in.
    std::vector<HWND> controls;
    size_t carriers = 0;
    size_t focus = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == GetFocus()) {
            focus = controls.size();
        }
        controls.push_back(child);
        if (IsWindowVisible(child) && IsWindowEnabled(child) && AccessKeyOf(child) == key) {
            ++carriers;
        }
    }
    if (carriers < 2) {
        return false;
    }
    // The next carrier after the focused control in tab order, whether or not it carries the key.
    for (size_t step = 1; step <= controls.size(); ++step) {
        const HWND next = controls[(focus + step) % controls.size()];
        if (IsWindowVisible(next) && IsWindowEnabled(next) && AccessKeyOf(next) == key) {
            SetFocus(next);
            return true;
        }
    }
    return false;
}
