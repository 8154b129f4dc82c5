// Drives the real orvandel.exe from another process, the way a person would: fields, focus,
// clicks, and the prompts it shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// orvandel.exe in the build folder this test program runs from, or another program beside it.
std::wstring ProgramPath(const std::wstring& name = L"ui\\orvandel.exe");

struct SeenPrompt {
    HWND window = nullptr;
    bool viewer = false;  // the text viewer rather than a message box
    std::wstring title;
    std::wstring text;
    std::vector<int> buttons;  // IDOK, IDYES, IDNO in the order found
    std::wstring icon;         // "none", "information", "exclamation" or "other"
};

class Driver {
  public:
    ~Driver();

    // Starts the program and waits for its window; false on failure or timeout.
    bool Start(const std::wstring& program = ProgramPath());
    // True when the program ended within the timeout.
    bool WaitForExit(DWORD milliseconds = 10000);

    HWND Main() const { return main_; }
    HWND Control(int id) const { return GetDlgItem(main_, id); }
    std::wstring Text(HWND window) const;
    void SetText(HWND window, const std::wstring& text) const;
    // Moves the keyboard focus the way a click or Tab would, from the program's own thread.
    void Focus(HWND window) const;
    HWND FocusedControl() const;
    // Posts a click, so that a modal prompt it opens does not block the driver.
    void Click(HWND button) const;

    // Waits for the next prompt of the program; a prompt with no window means none came.
    SeenPrompt WaitForPrompt(DWORD milliseconds = 10000) const;
    // Answers a prompt with one of its buttons and waits until it has gone.
    bool Answer(const SeenPrompt& prompt, int button) const;
    // Answers OK to the three stages of a run (before, after each pass); false if one is missing.
    bool AcceptStages() const;
    // The top-level windows of the program other than the main window.
    std::vector<HWND> OtherWindows() const;
    // Waits for a dialog of the program (class #32770) with this caption, or any caption if empty.
    HWND WaitForDialog(const std::wstring& caption, DWORD milliseconds = 10000) const;
    // The items of a combo box in another process.
    std::vector<std::wstring> ComboItems(HWND combo) const;
    // Drops `path` on the main window as the shell does: a DROPFILES block in the program's memory.
    bool DropFile(const std::wstring& path) const;
    // Selects `folder` in an open folder browser, writing the path into the program's memory.
    bool SelectFolder(HWND browser, const std::wstring& folder) const;

  private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

// Waits until `condition` holds or the time is up; returns whether it held.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds = 10000) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// A child of `parent` (at any depth) whose text is `text`, or none.
HWND FindChildWithText(HWND parent, const std::wstring& text);
