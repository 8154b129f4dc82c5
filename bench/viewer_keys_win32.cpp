// How long the text viewer takes to answer a key or a click on very long lines: each Down key
// scrolls by a line and repaints, each click finds the character under the mouse. Run under Wine
// or on Windows:
//   viewer_keys_bench [characters per line=200000] [lines=60] [keys=20]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "ui/text_viewer.h"

namespace {

using Clock = std::chrono::steady_clock;
int keys = 20;
double keySeconds = 0;
double clickSeconds = 0;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs once the viewer is up and idle: the keys and clicks, each handled and painted in full.
void CALLBACK OnIdle(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const HWND viewer = FindWindowW(kTextViewerClass, nullptr);
    const HWND view = GetDlgItem(viewer, kTextViewerEditId);
    SetFocus(view);
    auto start = Clock::now();
    for (int i = 0; i < keys; ++i) {
        SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
        UpdateWindow(view);
    }
    keySeconds = SecondsSince(start) / keys;
    start = Clock::now();
    for (int i = 0; i < keys; ++i) {
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 40));
        SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(200, 40));
        UpdateWindow(view);
    }
    clickSeconds = SecondsSince(start) / keys;
    PostMessageW(viewer, WM_COMMAND, IDOK, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int length = argc > 1 ? _wtoi(argv[1]) : 200000;
    const int lines = argc > 2 ? _wtoi(argv[2]) : 60;
    keys = argc > 3 ? _wtoi(argv[3]) : 20;
    DisplayText text;
    for (int i = 0; i < lines; ++i) {
        text += DisplayText(static_cast<size_t>(length), u'x') + u"\r\n";
    }
    const Prompt prompt{text, PromptButtons::Ok, PromptIcon::None, u"未处理前的文件"};
    SetTimer(nullptr, 0, 0, OnIdle);
    ShowTextViewer(nullptr, prompt);
    std::printf("text viewer, %d lines of %d characters: %.1f ms per Down key, %.1f ms per click\n",
                lines, length, keySeconds * 1000, clickSeconds * 1000);
    return 0;
}
