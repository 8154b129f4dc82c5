#include "tests/window/driver.h"
#include "tests/window/prompt_icon.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

namespace {

constexpr UINT kTimeout = 5000;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring CaptionOf(HWND window) {
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    return caption;
}

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::wstring ProgramPath(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.rfind(L'\\'));  // .../tests
    folder.resize(folder.rfind(L'\\'));  // the build folder
    return folder + L"\\" + name;
}

Driver::~Driver() {
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, kTimeout);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool Driver::Start(const std::wstring& program) {
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
        return false;
    }
    WaitForInputIdle(process_.hProcess, kTimeout);
    return WaitFor([this] {
        for (HWND window : TopLevelWindows(process_.dwProcessId)) {
            if (CaptionOf(window) == L"Orvandel" && ClassOf(window) != L"#32770") {
                main_ = window;
                return true;
            }
        }
        return false;
    });
}

bool Driver::WaitForExit(DWORD milliseconds) {
    return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

std::wstring Driver::Text(HWND window) const {
    wchar_t buffer[4096] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK,
                        kTimeout, &ignored);
    return buffer;
}

void Driver::SetText(HWND window, const std::wstring& text) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK,
                        kTimeout, &ignored);
}

void Driver::Focus(HWND window) const {
    const DWORD target = GetWindowThreadProcessId(window, nullptr);
    const DWORD self = GetCurrentThreadId();
    AttachThreadInput(self, target, TRUE);
    SetFocus(window);
    AttachThreadInput(self, target, FALSE);
}

HWND Driver::FocusedControl() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
}

void Driver::Click(HWND button) const {
    PostMessageW(button, BM_CLICK, 0, 0);
}

std::vector<HWND> Driver::OtherWindows() const {
    std::vector<HWND> windows = TopLevelWindows(process_.dwProcessId);
    windows.erase(std::remove(windows.begin(), windows.end(), main_), windows.end());
    return windows;
}

SeenPrompt Driver::WaitForPrompt(DWORD milliseconds) const {
    SeenPrompt prompt;
    WaitFor(
        [&] {
            for (HWND window : OtherWindows()) {
                const std::wstring name = ClassOf(window);
                if (name == L"#32770" || name == L"OrvandelTextViewer") {
                    prompt.window = window;
                    prompt.viewer = name == L"OrvandelTextViewer";
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    if (prompt.window == nullptr) {
        return prompt;
    }
    prompt.title = CaptionOf(prompt.window);
    const HWND text = GetDlgItem(prompt.window, prompt.viewer ? 100 : 0xFFFF);
    if (prompt.viewer) {
        const auto length = SendMessageW(text, WM_GETTEXTLENGTH, 0, 0);
        std::wstring whole(static_cast<size_t>(length) + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(text, WM_GETTEXT, whole.size(), reinterpret_cast<LPARAM>(whole.data()),
                            SMTO_BLOCK, kTimeout, &copied);
        whole.resize(copied);
        prompt.text = whole;
    } else {
        prompt.text = Text(text);
    }
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL}) {
        const HWND button = GetDlgItem(prompt.window, id);
        if (button != nullptr && IsWindowVisible(button)) {
            prompt.buttons.push_back(id);
        }
    }
    prompt.icon = StandardIconOf(prompt.window);
    return prompt;
}

HWND Driver::WaitForDialog(const std::wstring& caption, DWORD milliseconds) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND window : OtherWindows()) {
                if (ClassOf(window) == L"#32770" &&
                    (caption.empty() || CaptionOf(window) == caption)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

std::vector<std::wstring> Driver::ComboItems(HWND combo) const {
    std::vector<std::wstring> items;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_BLOCK, kTimeout, &count);
    for (WPARAM i = 0; i < count; ++i) {
        wchar_t item[512] = {};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_BLOCK,
                            kTimeout, &ignored);
        items.emplace_back(item);
    }
    return items;
}

bool Driver::DropFile(const std::wstring& path) const {
    // The header, then the path and the empty name that ends the list.
    std::vector<BYTE> block(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(path.begin(), path.end(),
              reinterpret_cast<wchar_t*>(block.data() + sizeof(DROPFILES)));
    void* remote = VirtualAllocEx(process_.hProcess, nullptr, block.size(),
                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    return remote != nullptr &&
           WriteProcessMemory(process_.hProcess, remote, block.data(), block.size(), nullptr) &&
           PostMessageW(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

bool Driver::SelectFolder(HWND browser, const std::wstring& folder) const {
    // The browser selects its starting folder once it has filled its tree; a selection made
    // before that would be overwritten.
    HWND tree = nullptr;
    EnumChildWindows(
        browser,
        [](HWND child, LPARAM found) {
            if (ClassOf(child) == L"SysTreeView32") {
                *reinterpret_cast<HWND*>(found) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tree));
    const auto selectedItem = [tree] {
        return tree ? SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) : 0;
    };
    if (!WaitFor([&] { return selectedItem() != 0; })) {
        return false;
    }
    const LRESULT initial = selectedItem();
    const size_t bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote =
        VirtualAllocEx(process_.hProcess, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote == nullptr ||
        !WriteProcessMemory(process_.hProcess, remote, folder.c_str(), bytes, nullptr)) {
        return false;
    }
    // The browser may still make its own first selection after ours: select again until ours
    // holds.
    bool selected = false;
    for (int attempt = 0; attempt < 20 && !selected; ++attempt) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote),
                            SMTO_BLOCK, kTimeout, &ignored);
        selected = WaitFor([&] { return selectedItem() != initial; }, 500) &&
                   !WaitFor([&] { return selectedItem() == initial; }, 300);
    }
    VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    return selected;
}

HWND FindChildWithText(HWND parent, const std::wstring& text) {
    struct Search {
        const std::wstring& text;
        HWND found;
    } search{text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lParam) {
            auto* search = reinterpret_cast<Search*>(lParam);
            if (CaptionOf(child) == search->text) {
                search->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Driver::Answer(const SeenPrompt& prompt, int button) const {
    Click(GetDlgItem(prompt.window, button));
    return WaitFor([&] { return !IsWindow(prompt.window); });
}

bool Driver::AcceptStages() const {
    for (int stage = 0; stage < 3; ++stage) {
        const SeenPrompt prompt = WaitForPrompt();
        if (prompt.window == nullptr || !Answer(prompt, IDOK)) {
            return false;
        }
    }
    return true;
}
