#include "ui/form1.h"

#include <commctrl.h>
#include <shellapi.h>

#include <new>
#include <utility>

#include "files/long_path_win32.h"
#include "files/mdlPub.h"
#include "files/texts.h"
#include "ui/display_text.h"
#include "ui/exhibit_dialog.h"
#include "ui/layout.h"
#include "ui/mdlBrowseFounder.h"
#include "ui/mdlOpen.h"
#include "ui/message_box.h"

namespace {

constexpr wchar_t kClassName[] = L"OrvandelMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

const ControlLayout& LayoutOf(ControlId id) {
    for (const ControlLayout& layout : kControls) {
        if (layout.id == id) {
            return layout;
        }
    }
    return kControls[0];
}

HWND CreateControl(HWND parent, const ControlLayout& layout) {
    struct Kind {
        const wchar_t* className;
        DWORD style;
        DWORD exStyle;
    };
    // By ControlKind: Label, Frame, Edit, Button.
    static constexpr Kind kKinds[] = {{L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
                                      {L"BUTTON", BS_GROUPBOX, 0},
                                      {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
                                      {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0}};
    const Kind& kind = kKinds[static_cast<int>(layout.kind)];
    return CreateWindowExW(kind.exStyle, kind.className, layout.text,
                           WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                           GetModuleHandleW(nullptr), nullptr);
}

// The save folder as a run uses it: spaces trimmed at both ends, ending with one backslash.
WideText NormalisedSaveFolder(WideText folder) {
    folder.erase(0, folder.find_first_not_of(L' '));
    folder.erase(folder.find_last_not_of(L' ') + 1);
    if (folder.empty() || folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

}  // namespace

bool Form1::Create(HINSTANCE instance, int show) {
    WNDCLASSEXW windowClass{};
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Register(kClassName, windowClass);
    // The size is set in WM_CREATE, once the window knows its DPI.
    CreateWindowExW(0, kClassName, texts::kWindowCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, show);
    UpdateWindow(window_);
    return true;
}

void Form1::ReportFailure() {
    const bool inRun = std::exchange(failedInRun_, false);
    const char16_t* text = texts::kOutOfMemory;
    try {
        RethrowFailure();
        return;
    } catch (const std::bad_alloc&) {
        text = inRun ? texts::kOutOfMemory : texts::kOutOfMemoryElsewhere;
    } catch (...) {
        text = inRun ? texts::kOutOfMemory : texts::kUnexpectedFailure;
    }
    // The texts are shown from where they stand: no memory is needed for them.
    MessageBoxW(window_, WindowsText(text), WindowsText(texts::kProgramTitle),
                MB_OK | MB_ICONEXCLAMATION);
}

LRESULT Form1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_SYSCOMMAND:
            if (OnSystemMenu(static_cast<UINT>(wParam & 0xFFF0))) {
                return 0;
            }
            return Default(message, wParam, lParam);
        case WM_ACTIVATE:
            if (OnActivate(LOWORD(wParam) != WA_INACTIVE)) {
                return 0;
            }
            return Default(message, wParam, lParam);
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void Form1::OnCreate() {
    dpi_ = static_cast<int>(GetDpiForWindow(window_));
    for (const ControlLayout& layout : kControls) {
        CreateControl(window_, layout);
    }
    SetWindowSubclass(Control(kText2), Text2Proc, 0, reinterpret_cast<DWORD_PTR>(this));
    font_ = MessageFont(dpi_);
    ApplyFont(window_, font_.Get());
    RECT frame{0, 0, MulDiv(kClientWidthTwips, dpi_, 1440), MulDiv(kClientHeightTwips, dpi_, 1440)};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi_));
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    // The window is not active yet: the first activation gives the focus to the start button.
    lastFocus_ = Control(kCommand1);
    DragAcceptFiles(window_, TRUE);
    AddSystemMenuItems();
}

// As a dialog does, the window remembers which control had the focus when it was deactivated (by a
// prompt, or by the user turning to another program) and gives it back when it is activated again.
// Otherwise the focus would land on the window itself: Enter would do nothing after a prompt, and a
// folder typed into Text2 before switching programs would never lose the focus, so never be
// normalised, before the next click on Command1.
bool Form1::OnActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus != nullptr && GetParent(focus) == window_) {
            lastFocus_ = focus;
        }
        return false;
    }
    if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return true;
    }
    return false;
}

// A file dropped on the window becomes the source, a folder the save folder. Nothing runs. During a
// run drops are refused: the run reads the fields at each step, and must see the file it showed.
void Form1::OnDropFiles(HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    WideText path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
    DragFinish(drop);
    if (path.empty() || running_) {
        return;
    }
    const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetWindowTextW(Control(kText2), NormalisedSaveFolder(path).c_str());
    } else {
        SetWindowTextW(Control(kText1), path.c_str());
    }
}

void Form1::LayOut() {
    const auto scale = [this](int twips) { return MulDiv(twips, dpi_, 1440); };
    for (const ControlLayout& layout : kControls) {
        int left = layout.left;
        int top = layout.top;
        if (layout.container != ControlId{}) {
            left += LayoutOf(layout.container).left;
            top += LayoutOf(layout.container).top;
        }
        int width = scale(layout.width);
        int height = scale(layout.height);
        const HWND control = Control(layout.id);
        if (layout.kind == ControlKind::Label) {
            // The label takes the size of its caption in the window's font.
            const WindowDc dc(control);
            const SelectionGuard selected(dc.Get(), font_.Get());
            SIZE size{};
            GetTextExtentPoint32W(dc.Get(), layout.text, lstrlenW(layout.text), &size);
            width = size.cx;
            height = size.cy;
        }
        SetWindowPos(control, nullptr, scale(left), scale(top), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form1::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    font_ = MessageFont(dpi_);
    ApplyFont(window_, font_.Get());
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

// The two options and the About box, above the system menu's own items.
void Form1::AddSystemMenuItems() {
    const HMENU menu = GetSystemMenu(window_, FALSE);
    const auto check = [](bool on) { return static_cast<UINT>(on ? MF_CHECKED : MF_UNCHECKED); };
    InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING | check(settings_.literals), kMenuLiteralsId,
                texts::kMenuLiterals);
    InsertMenuW(menu, 1, MF_BYPOSITION | MF_STRING | check(settings_.keepHeader), kMenuKeepHeaderId,
                texts::kMenuKeepHeader);
    InsertMenuW(menu, 2, MF_BYPOSITION | MF_STRING, kMenuExhibitId, texts::kMenuExhibit);
    InsertMenuW(menu, 3, MF_BYPOSITION | MF_STRING, kMenuAboutId, texts::kMenuAbout);
    InsertMenuW(menu, 4, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

// True when `id` is one of the window's own items, now handled. An option that cannot be stored
// still applies until the program ends; the user is told so once.
bool Form1::OnSystemMenu(UINT id) {
    if (id == kMenuAboutId) {
        ShowAbout();
        return true;
    }
    if (id == kMenuExhibitId) {
        ShowExhibitDialog(window_);
        return true;
    }
    bool* option = id == kMenuLiteralsId     ? &settings_.literals
                   : id == kMenuKeepHeaderId ? &settings_.keepHeader
                                             : nullptr;
    if (option == nullptr) {
        return false;
    }
    const UserSettings before = settings_;
    *option = !*option;
    CheckMenuItem(GetSystemMenu(window_, FALSE), id,
                  MF_BYCOMMAND | (*option ? MF_CHECKED : MF_UNCHECKED));
    if (!SaveUserSettings(settings_, before) && !toldSettingsNotSaved_) {
        toldSettingsNotSaved_ = true;
        MessageBoxW(window_, texts::kSettingsNotSaved, texts::kWindowCaption,
                    MB_OK | MB_ICONEXCLAMATION);
    }
    return true;
}

void Form1::ShowAbout() {
    const std::wstring text =
        texts::kAboutVersion + std::wstring(L"" ORVANDEL_VERSION) + texts::kAboutText;
    MessageBoxW(window_, text.c_str(), texts::kAboutTitle, MB_OK | MB_ICONINFORMATION);
}

StripOptions Form1::Options() {
    return {.literals = settings_.literals, .keepHeader = settings_.keepHeader};
}

void Form1::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED) {
        return;
    }
    switch (id) {
        case kCommand1:
            running_ = true;
            try {
                ProcessingRun(*this);
            } catch (...) {
                running_ = false;
                failedInRun_ = true;
                throw;
            }
            running_ = false;
            break;
        case kCommand2:
            PickSourceFile();
            break;
        case kCommand5:
            PickSaveFolder();
            break;
        case kCommand4:
            DestroyWindow(window_);
            break;
        case IDOK:
            // Enter: the dialog manager asks for the default button, and there is none. Like a
            // dialog, the window lets Enter press the button that has the focus, and only that.
            PressFocusedButton();
            break;
        default:
            // IDCANCEL from Esc lands here: there is no cancel button.
            break;
    }
}

void Form1::PressFocusedButton() {
    const HWND focus = GetFocus();
    const int id = GetDlgCtrlID(focus);
    if (GetParent(focus) == window_ &&
        (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) &&
        id != IDOK) {
        SendMessageW(focus, BM_CLICK, 0, 0);
    }
}

void Form1::PickSourceFile() {
    const WideText path =
        mdlOpen::ShowOpenDialog(window_, texts::kOpenDialogTitle, mdlOpen::CFamilyFilter(), *this);
    if (!path.empty()) {
        SetWindowTextW(Control(kText1), path.c_str());
    }
}

// The backslash is added whatever the folder ends with: a drive root gets two, which Windows
// accepts in a path.
void Form1::PickSaveFolder() {
    const WideText folder = mdlBrowseFounder::BrowseForFolder(window_, texts::kFolderBrowserTitle);
    if (!folder.empty()) {
        SetWindowTextW(Control(kText2), (folder + L"\\").c_str());
    }
}

// Text2 normalises itself when the focus moves to another control of the window, before that
// control acts, so a click on Command1 sees the normalised folder.
LRESULT CALLBACK Form1::Text2Proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR self) {
    if (message == WM_KILLFOCUS) {
        const HWND next = reinterpret_cast<HWND>(wParam);
        auto* form = reinterpret_cast<Form1*>(self);
        if (next != nullptr && GetParent(next) == form->window_) {
            form->Guard([form] { form->NormaliseText2(); });
        }
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void Form1::NormaliseText2() {
    const WideText normalised = NormalisedSaveFolder(TextOf(kText2));
    if (normalised != TextOf(kText2)) {
        SetWindowTextW(Control(kText2), normalised.c_str());
    }
}

WideText Form1::TextOf(int id) const {
    const HWND control = Control(id);
    WideText text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Form1::SetCommand1Enabled(bool enabled) {
    const HWND command1 = Control(kCommand1);
    // Disabling the focused button takes the focus away before the next prompt deactivates the
    // window: remember it here, so that it comes back once the button is enabled again.
    if (!enabled && GetFocus() == command1) {
        lastFocus_ = command1;
    }
    EnableWindow(command1, enabled);
}

PromptAnswer Form1::MessagePrompt(const Prompt& prompt) {
    return ShowMessagePrompt(window_, prompt);
}
