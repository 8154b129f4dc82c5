#include "ui/exhibit_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <atomic>
#include <cwchar>
#include <thread>

#include "exhibit/exhibit_run.h"
#include "files/mdlPub.h"
#include "files/utf8.h"
#include "ui/mdlBrowseFounder.h"

namespace fs = std::filesystem;

namespace {

enum DialogId : int {
    kFolder = 201,
    kFolderBrowse,
    kName,
    kVersion,
    kOutput,
    kOutputBrowse,
    kLinesPerPage,
    kFileTypes,
    kExcluded,
    kProgress,
    kStatus,
};

constexpr UINT kProgressMessage = WM_APP + 1;  // wParam: files counted, lParam: files found
constexpr UINT kDoneMessage = WM_APP + 2;

constexpr wchar_t kSettingsKey[] = L"Software\\Orvandel";

struct Field {
    DialogId id;
    const wchar_t* label;
    const wchar_t* setting;  // the registry value that remembers it
    const wchar_t* initial;
    bool browse;
};

constexpr Field kFields[] = {
    {kFolder, L"项目文件夹(&F):", L"ExhibitFolder", L"", true},
    {kName, L"软件名称(&N):", L"ExhibitName", L"", false},
    {kVersion, L"版本号(&V):", L"ExhibitVersion", L"V1.0", false},
    {kOutput, L"输出文件(&O):", L"ExhibitOutput", L"", true},
    {kLinesPerPage, L"每页行数(&L):", L"ExhibitLinesPerPage", L"50", false},
    {kFileTypes, L"文件类型(&T):", L"ExhibitFileTypes", L"c,h,cpp,hpp,cc,java", false},
    {kExcluded, L"排除的文件夹(&E):", L"ExhibitExcludedFolders", L"", false},
};

// Dialog units: the system scales them with the dialog's font and DPI.
constexpr int kWidth = 310, kRowHeight = 18, kTop = 8, kLabelWidth = 72, kButtonWidth = 50;
constexpr int kHeight = kTop + kRowHeight * 7 + 60;

std::wstring Remembered(const wchar_t* name, const wchar_t* initial) {
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS) {
        return initial;
    }
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value.data(),
                     &size) != ERROR_SUCCESS) {
        return initial;
    }
    value.resize(wcslen(value.c_str()));
    return value;
}

void Remember(const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The "a; b" folders as patterns that match folders of those names at any depth.
std::vector<std::string> FolderPatterns(const std::wstring& text) {
    std::vector<std::string> patterns;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(L';', start), text.size());
        std::wstring name = text.substr(start, end - start);
        name.erase(0, name.find_first_not_of(L' '));
        name.erase(name.find_last_not_of(L" \\/") + 1);
        if (!name.empty()) {
            patterns.push_back(EncodeUtf8(name) + "/");
        }
        start = end + 1;
    }
    return patterns;
}

class ExhibitDialog {
  public:
    INT_PTR Show(HWND owner) {
        // An empty template: the controls are made in WM_INITDIALOG from the table above.
        struct {
            DLGTEMPLATE header;
            WORD menu = 0, windowClass = 0;
            wchar_t title[16] = L"生成软著源代码文档";
            WORD pointSize = 9;
            wchar_t font[13] = L"MS Shell Dlg";
        } dialog{};
        dialog.header.style =
            DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        dialog.header.cx = kWidth;
        dialog.header.cy = kHeight;
        return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialog.header, owner, Procedure,
                                       reinterpret_cast<LPARAM>(this));
    }

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        }
        auto* self = reinterpret_cast<ExhibitDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self != nullptr && self->OnMessage(dialog, message, wParam, lParam);
    }

    bool OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                dialog_ = dialog;
                CreateControls();
                return true;
            case WM_COMMAND:
                OnCommand(LOWORD(wParam));
                return true;
            case kProgressMessage:
                SendDlgItemMessageW(dialog_, kProgress, PBM_SETRANGE32, 0, lParam);
                SendDlgItemMessageW(dialog_, kProgress, PBM_SETPOS, wParam, 0);
                return true;
            case kDoneMessage:
                OnDone();
                return true;
            default:
                return false;
        }
    }

    HWND Add(const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT box,
             DWORD exStyle = 0) {
        MapDialogRect(dialog_, &box);
        const HWND control = CreateWindowExW(
            exStyle, className, text, WS_CHILD | WS_VISIBLE | style, box.left, box.top,
            box.right - box.left, box.bottom - box.top, dialog_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, SendMessageW(dialog_, WM_GETFONT, 0, 0), FALSE);
        return control;
    }

    // In tab order: each field's label, its edit and its browse button.
    void CreateControls() {
        int top = kTop;
        for (const Field& field : kFields) {
            const int right = kWidth - 7 - (field.browse ? kButtonWidth + 4 : 0);
            Add(L"STATIC", field.label, SS_LEFT, -1, {7, top + 2, 7 + kLabelWidth, top + 12});
            Add(L"EDIT", Remembered(field.setting, field.initial).c_str(),
                WS_TABSTOP | ES_AUTOHSCROLL, field.id, {7 + kLabelWidth, top, right, top + 13},
                WS_EX_CLIENTEDGE);
            if (field.browse) {
                Add(L"BUTTON", L"浏览...", WS_TABSTOP | BS_PUSHBUTTON, field.id + 1,
                    {right + 4, top - 1, kWidth - 7, top + 14});
            }
            top += kRowHeight;
        }
        Add(PROGRESS_CLASSW, L"", 0, kProgress, {7, top + 2, kWidth - 7, top + 12});
        Add(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kStatus, {7, top + 16, kWidth - 7, top + 26});
        top += 34;
        Add(L"BUTTON", L"生成(&G)", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
            {kWidth - 7 - 2 * kButtonWidth - 6, top, kWidth - 7 - kButtonWidth - 6, top + 14});
        Add(L"BUTTON", L"关闭", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL,
            {kWidth - 7 - kButtonWidth, top, kWidth - 7, top + 14});
        SetFocus(GetDlgItem(dialog_, kFolder));
    }

    std::wstring Text(int id) const {
        const HWND control = GetDlgItem(dialog_, id);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    void OnCommand(int id) {
        switch (id) {
            case kFolderBrowse:
                if (const std::wstring folder =
                        mdlBrowseFounder::BrowseForFolder(dialog_, L"选择项目文件夹");
                    !folder.empty()) {
                    SetDlgItemTextW(dialog_, kFolder, folder.c_str());
                }
                break;
            case kOutputBrowse:
                ChooseOutput();
                break;
            case IDOK:
                if (!worker_.joinable()) {
                    Start();
                }
                break;
            case IDCANCEL:
                // Closing stops the work at its next file and waits for it.
                cancel_ = true;
                if (worker_.joinable()) {
                    worker_.join();
                }
                EndDialog(dialog_, IDCANCEL);
                break;
            default:
                break;
        }
    }

    void ChooseOutput() {
        std::wstring path = Text(kOutput);
        path.resize(32768);
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = dialog_;
        dialog.lpstrFilter = L"PDF (*.pdf)\0*.pdf\0";
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = static_cast<DWORD>(path.size());
        dialog.lpstrDefExt = L"pdf";
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (GetSaveFileNameW(&dialog)) {
            SetDlgItemTextW(dialog_, kOutput, path.c_str());
        }
    }

    ExhibitOptions ChosenOptions() const {
        ExhibitOptions options;
        options.roots = {fs::path(Text(kFolder))};
        options.name = EncodeUtf8(Text(kName));
        options.version = EncodeUtf8(Text(kVersion));
        options.linesPerPage =
            static_cast<int>(std::wcstol(Text(kLinesPerPage).c_str(), nullptr, 10));
        options.extensions = ExtensionList(EncodeUtf8(Text(kFileTypes)));
        options.excludes = FolderPatterns(Text(kExcluded));
        std::wstring output = Text(kOutput);
        if (output.empty()) {
            output = Text(kFolder) + L"\\" + Text(kName) + L".pdf";
        }
        options.pdf = fs::path(output);
        return options;
    }

    void Start() {
        for (const Field& field : kFields) {
            Remember(field.setting, Text(field.id));
        }
        const ExhibitOptions options = ChosenOptions();
        SetBusy(true);
        cancel_ = false;
        const HWND dialog = dialog_;
        worker_ = std::thread([this, options, dialog] {
            ExhibitProgress progress;
            progress.cancel = &cancel_;
            progress.update = [dialog](std::uintmax_t done, std::uintmax_t total) {
                PostMessageW(dialog, kProgressMessage, static_cast<WPARAM>(done),
                             static_cast<LPARAM>(total));
            };
            outcome_ = MakeExhibit(options, progress);
            PostMessageW(dialog, kDoneMessage, 0, 0);
        });
    }

    void SetBusy(bool busy) {
        for (const Field& field : kFields) {
            EnableWindow(GetDlgItem(dialog_, field.id), !busy);
            if (field.browse) {
                EnableWindow(GetDlgItem(dialog_, field.id + 1), !busy);
            }
        }
        EnableWindow(GetDlgItem(dialog_, IDOK), !busy);
        SetDlgItemTextW(dialog_, kStatus, busy ? L"正在生成..." : L"");
    }

    void OnDone() {
        worker_.join();
        SetBusy(false);
        if (!outcome_.error.empty()) {
            const std::wstring text = L"没有生成文档：\n" + Wide(outcome_.error);
            MessageBoxW(dialog_, text.c_str(), L"生成软著源代码文档", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        SendDlgItemMessageW(dialog_, kProgress, PBM_SETPOS, 0, 0);
        std::wstring text = L"已生成：\n";
        for (const fs::path& path : outcome_.written) {
            text += path.wstring() + L"\n";
        }
        text += L"\n源程序量 " + std::to_wstring(outcome_.lines) + L" 行，程序共 " +
                std::to_wstring(outcome_.programPages) + L" 页，文档 " +
                std::to_wstring(outcome_.pages) + L" 页";
        if (!outcome_.warnings.empty()) {
            text += L"；" + std::to_wstring(outcome_.warnings.size()) + L" 条警告，见摘要文件";
        }
        text += L"。\n\n是否打开 PDF 文档？";
        if (MessageBoxW(dialog_, text.c_str(), L"生成软著源代码文档",
                        MB_YESNO | MB_ICONINFORMATION) == IDYES) {
            mdlPub::ShellOpen(dialog_, outcome_.written.front().wstring());
        }
    }

    static std::wstring Wide(const std::string& utf8) {
        std::wstring wide;
        DecodeUtf8Strict(utf8, wide);
        return wide;
    }

    HWND dialog_ = nullptr;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    ExhibitOutcome outcome_;
};

}  // namespace

void ShowExhibitDialog(HWND owner) {
    ExhibitDialog dialog;
    dialog.Show(owner);
}
