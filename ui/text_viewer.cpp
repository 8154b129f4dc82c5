#include "ui/text_viewer.h"

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

class TextViewer {
  public:
    explicit TextViewer(const Prompt& prompt) : prompt_(prompt) {}

    PromptAnswer Run(HWND owner);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
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
    HWND window_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    Font font_;
    Font monospaced_;
    PromptAnswer answer_ = PromptAnswer::Ok;
    bool done_ = false;
};

void RegisterViewerClass(WNDPROC proc) {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kTextViewerClass;
    registered = RegisterClassExW(&windowClass) != 0;
}

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

PromptAnswer TextViewer::Run(HWND owner) {
    RegisterViewerClass(WindowProc);
    dpi_ = owner != nullptr ? static_cast<int>(GetDpiForWindow(owner)) : USER_DEFAULT_SCREEN_DPI;
    RECT ownerRect{};
    GetWindowRect(owner != nullptr ? owner : GetDesktopWindow(), &ownerRect);
    const int width = Scale(760);
    const int height = Scale(560);
    const int left = (ownerRect.left + ownerRect.right - width) / 2;
    const int top = (ownerRect.top + ownerRect.bottom - height) / 2;
    CreateWindowExW(WS_EX_DLGMODALFRAME, kTextViewerClass, WindowsText(prompt_.title),
                    WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, left < 0 ? 0 : left, top < 0 ? 0 : top,
                    width, height, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        return PromptAnswer::Ok;
    }
    // Modal like a message box: the owner takes no input until the viewer is answered.
    const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(GetDlgItem(window_, YesNo() ? IDYES : IDOK));
    MSG message;
    while (!done_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window_, &message)) {
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
    if (!done_) {
        PostQuitMessage(static_cast<int>(message.wParam));  // WM_QUIT belongs to the outer loop
    }
    return answer_;
}

LRESULT CALLBACK TextViewer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<TextViewer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TextViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->OnMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
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
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            return DefWindowProcW(window_, message, wParam, lParam);
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void TextViewer::OnCreate() {
    font_ = Font::Message(dpi_);
    monospaced_ = Font::Monospaced(dpi_);
    if (prompt_.icon != PromptIcon::None) {
        const HWND icon = CreateChild(window_, L"STATIC", nullptr, SS_ICON, kIconId);
        const wchar_t* which =
            prompt_.icon == PromptIcon::Information ? IDI_INFORMATION : IDI_WARNING;
        SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, which)), 0);
    }
    RegisterTextView();
    const HWND edit =
        CreateChild(window_, kTextViewClass, nullptr, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
                    kTextViewerEditId, WS_EX_CLIENTEDGE);
    const Button buttons[] = {{IDYES, L"是(&Y)"}, {IDNO, L"否(&N)"}, {IDOK, L"确定"}};
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
    SetWindowTextW(edit, WindowsText(prompt_.text));
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
