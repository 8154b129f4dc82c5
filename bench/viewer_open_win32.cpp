// How long the text viewer takes to open with a large text: from the call until the viewer has
// been shown and painted and its message loop is idle. Run under Wine or on Windows:
//   viewer_open_bench [megabytes=10] [repetitions=5]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/text_viewer.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point shownAt;

// A timer fires only when no other message is waiting: the viewer is up, painted and idle.
void CALLBACK OnIdle(HWND, UINT, UINT_PTR timer, DWORD) {
    shownAt = Clock::now();
    KillTimer(nullptr, timer);
    PostMessageW(FindWindowW(kTextViewerClass, nullptr), WM_COMMAND, IDOK, 0);
}

// Source-like lines of about 60 characters, CR LF separated, `megabytes` in all.
DisplayText MakeText(int megabytes) {
    const DisplayText line = u"    total += buffer[i] * weights[i % weights.size()];  \r\n";
    DisplayText text;
    text.reserve(static_cast<size_t>(megabytes) << 20);
    while (text.size() < static_cast<size_t>(megabytes) << 20) {
        text += line;
    }
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int megabytes = argc > 1 ? _wtoi(argv[1]) : 10;
    const int repetitions = argc > 2 ? _wtoi(argv[2]) : 5;
    const Prompt prompt{MakeText(megabytes), PromptButtons::Ok, PromptIcon::None,
                        u"未处理前的文件"};
    std::vector<double> seconds;
    for (int i = 0; i < repetitions; ++i) {
        SetTimer(nullptr, 0, 0, OnIdle);
        const auto start = Clock::now();
        ShowTextViewer(nullptr, prompt);
        seconds.push_back(std::chrono::duration<double>(shownAt - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf(
        "text viewer, %d MB of text (%zu characters): median %.3f s, min %.3f s, max %.3f s\n",
        megabytes, prompt.text.size(), seconds[seconds.size() / 2], seconds.front(),
        seconds.back());
    return 0;
}
