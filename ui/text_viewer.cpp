#include "ui/text_viewer.h"

#include <algorithm>

#include "files/texts.h"
#include "files/unique_handle_win32.h"
#include "ui/display_text.h"
#include "ui/font.h"
#include "ui/text_view.h"

namespace {

constexpr int kMargin = 11;  // pixels at 96 DPI, as a message box spaces its parts
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kIconId = 101;

struct Button {
    int id;
    const wchar_t* caption;
};

class TextViewer : public WindowBase<TextViewer> {
  public:
    explicit TextViewer(const Prompt& prompt) : prompt_(prompt) {}

    PromptAnswer Run(HWND owner);

  private:
    friend class WindowBase<TextViewer>;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void LayOut();
    void Answer(PromptAnswer answer) {
        answer_ = answer;
        done_ = true;
    }
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, USER_DEFAULT_SCREEN_DPI); }
    bool YesNo() const { return prompt_.buttons == PromptButtons::YesNo; }

    const Prompt& prompt_;
    TextView view_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    Font font_;
    Font monospaced_;
    PromptAnswer answer_ = PromptAnswer::Ok;
    bool done_ = false;
};

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 DWORD exStyle = 0, void* object = nullptr) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), object);
}

// Centred on the owner, within the work area of the owner's monitor (which may lie left of or
// above the primary one, at negative coordinates), and no larger than that area.
RECT Placement(HWND owner, int width, int height) {
    RECT ownerRect{};
    GetWindowRect(owner != nullptr ? owner : GetDesktopWindow(), &ownerRect);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR handle = owner != nullptr
                                ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                : MonitorFromRect(&ownerRect, MONITOR_DEFAULTTONEAREST);
    if (!GetMonitorInfoW(handle, &monitor)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    const RECT& work = monitor.rcWork;
    width = std::min<int>(width, work.right - work.left);
    height = std::min<int>(height, work.bottom - work.top);
    const int left = std::clamp<int>((ownerRect.left + ownerRect.right - width) / 2, work.left,
                                     work.right - width);
    const int top = std::clamp<int>((ownerRect.top + ownerRect.bottom - height) / 2, work.top,
                                    work.bottom - height);
    return {left, top, left + width, top + height};
}

// Ctrl+A, Ctrl+C or Ctrl+Insert.
bool IsCopyKey(const MSG& message) {
    return message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
           (message.wParam == 'A' || message.wParam == 'C' || message.wParam == VK_INSERT);
}

PromptAnswer TextViewer::Run(HWND owner) {
    WNDCLASSEXW windowClass{};
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Register(kTextViewerClass, windowClass);
    // Accessibility clients get the view's object through COM; undone only if done here.
    const ComInitialisation com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    dpi_ = owner != nullptr ? static_cast<int>(GetDpiForWindow(owner)) : USER_DEFAULT_SCREEN_DPI;
    const RECT frame = Placement(owner, Scale(760), Scale(560));
    CreateWindowExW(WS_EX_DLGMODALFRAME, kTextViewerClass, WindowsText(prompt_.title),
                    WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, frame.left, frame.top,
                    frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        RethrowFailure();
        return PromptAnswer::Ok;
    }
    // Modal like a message box: the owner takes no input until the viewer is answered.
    const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(GetDlgItem(window_, YesNo() ? IDYES : IDOK));
    MSG message;
    while (!done_ && !Failed() && !view_.Failed() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsCopyKey(message) && (message.hwnd == window_ || IsChild(window_, message.hwnd))) {
            // Select all and copy wherever the focus is, as a message box copies its text.
            SendMessageW(GetDlgItem(window_, kTextViewerEditId), WM_KEYDOWN, message.wParam,
                         message.lParam);
        } else if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
    }
    if (owner != nullptr) {
        SetActiveWindow(owner);
    }
    DestroyWindow(window_);
    if (!done_ && !Failed() && !view_.Failed()) {
        PostQuitMessage(static_cast<int>(message.wParam));  // WM_QUIT belongs to the outer loop
    }
    RethrowFailure();
    view_.RethrowFailure();
    return answer_;
}

LRESULT TextViewer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {Scale(320), Scale(200)};
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    // Enter answers with the default button, as in a message box.
                    Answer(YesNo() ? PromptAnswer::Yes : PromptAnswer::Ok);
                    return 0;
                case IDYES:
                    Answer(PromptAnswer::Yes);
                    return 0;
                case IDNO:
                    Answer(PromptAnswer::No);
                    return 0;
                case IDCANCEL:
                    // Esc closes an OK prompt; a Yes/No prompt needs an answer.
                    if (!YesNo()) {
                        Answer(PromptAnswer::Ok);
                    }
                    return 0;
                default:
                    return 0;
            }
        case WM_CLOSE:
            if (!YesNo()) {
                Answer(PromptAnswer::Ok);
            }
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void TextViewer::OnCreate() {
    font_ = MessageFont(dpi_);
    monospaced_ = MonospacedFont(dpi_);
    if (prompt_.icon != PromptIcon::None) {
        const HWND icon = CreateChild(window_, L"STATIC", nullptr, SS_ICON, kIconId);
        const wchar_t* which =
            prompt_.icon == PromptIcon::Information ? IDI_INFORMATION : IDI_WARNING;
        SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, which)), 0);
    }
    TextView::RegisterWindowClass();
    const HWND edit =
        CreateChild(window_, kTextViewClass, nullptr, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
                    kTextViewerEditId, WS_EX_CLIENTEDGE, &view_);
    const Button buttons[] = {
        {IDYES, texts::kYesButton}, {IDNO, texts::kNoButton}, {IDOK, texts::kOkButton}};
    for (const Button& button : buttons) {
        const bool shown = YesNo() ? button.id != IDOK : button.id == IDOK;
        if (shown) {
            const DWORD style = WS_TABSTOP | (button.id == IDNO ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON);
            CreateChild(window_, L"BUTTON", button.caption, style, button.id);
        }
    }
    if (YesNo()) {
        // A Yes/No prompt cannot be dismissed without an answer.
        EnableMenuItem(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    ApplyFont(window_, font_.Get());
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(monospaced_.Get()), FALSE);
    view_.SetText(std::wstring_view(WindowsText(prompt_.text), prompt_.text.size()));
    view_.SetAccessibleName(std::wstring_view(WindowsText(prompt_.title), prompt_.title.size()));
}

void TextViewer::LayOut() {
    RECT client{};
    GetClientRect(window_, &client);
    const int margin = Scale(kMargin);
    const int buttonWidth = Scale(kButtonWidth);
    const int buttonHeight = Scale(kButtonHeight);
    int textLeft = margin;
    if (const HWND icon = GetDlgItem(window_, kIconId)) {
        const int size = GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi_));
        SetWindowPos(icon, nullptr, margin, margin, size, size, SWP_NOZORDER);
        textLeft += size + margin;
    }
    const int buttonsTop = client.bottom - margin - buttonHeight;
    SetWindowPos(GetDlgItem(window_, kTextViewerEditId), nullptr, textLeft, margin,
                 client.right - margin - textLeft, buttonsTop - 2 * margin, SWP_NOZORDER);
    int right = client.right - margin;
    for (int id : {IDNO, IDYES, IDOK}) {
        if (const HWND button = GetDlgItem(window_, id)) {
            right -= buttonWidth;
            SetWindowPos(button, nullptr, right, buttonsTop, buttonWidth, buttonHeight,
                         SWP_NOZORDER);
            right -= margin;
        }
    }
}

}  // namespace

PromptAnswer ShowTextViewer(HWND owner, const Prompt& prompt) {
    TextViewer viewer(prompt);
    return viewer.Run(owner);
}
