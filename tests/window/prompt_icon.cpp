#include "tests/window/prompt_icon.h"

#include <cstdlib>
#include <vector>

#include "tests/window/driver.h"

namespace {

using Pixels = std::vector<COLORREF>;

// The visible icon control of a prompt (a STATIC with the SS_ICON style), or none.
HWND IconControl(HWND prompt) {
    for (HWND child = GetWindow(prompt, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Static") == 0 && IsWindowVisible(child) &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return child;
        }
    }
    return nullptr;
}

// The pixels of a device context's area in a 32-bit top-down bitmap, as COLORREFs.
Pixels Capture(HDC source, int left, int top, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC memory = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    GdiFlush();
    Pixels pixels(static_cast<size_t>(width) * height);
    const auto* bgrx = static_cast<const BYTE*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = RGB(bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

// A standard icon as this process draws it at the given size over the given background.
Pixels Render(const wchar_t* icon, int width, int height, COLORREF background) {
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const HBRUSH brush = CreateSolidBrush(background);
    const RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    const auto image = static_cast<HICON>(LoadImageW(nullptr, icon, IMAGE_ICON, width, height, 0));
    DrawIconEx(memory, 0, 0, image, width, height, 0, nullptr, DI_NORMAL);
    DestroyIcon(image);
    Pixels pixels = Capture(memory, 0, 0, width, height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The share of pixels (0 to 1) that differ by little in every channel; edges blended with the
// background may differ slightly.
double Likeness(const Pixels& a, const Pixels& b) {
    size_t same = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        same += std::abs(GetRValue(a[i]) - GetRValue(b[i])) <= 24 &&
                std::abs(GetGValue(a[i]) - GetGValue(b[i])) <= 24 &&
                std::abs(GetBValue(a[i]) - GetBValue(b[i])) <= 24;
    }
    return a.empty() ? 0 : static_cast<double>(same) / a.size();
}

struct Candidate {
    const wchar_t* resource;
    const wchar_t* name;
};

}  // namespace

std::wstring StandardIconOf(HWND prompt) {
    const HWND control = IconControl(prompt);
    if (control == nullptr || SendMessageW(control, STM_GETICON, 0, 0) == 0) {
        return L"none";
    }
    const Candidate candidates[] = {{IDI_INFORMATION, L"information"},
                                    {IDI_QUESTION, L"question"},
                                    {IDI_EXCLAMATION, L"exclamation"},
                                    {IDI_ERROR, L"error"}};
    std::wstring name = L"other";
    // The prompt may not have painted itself yet: look until one icon matches, for a while.
    WaitFor(
        [&] {
            RECT rect{};
            GetWindowRect(control, &rect);
            const int width = rect.right - rect.left;
            const int height = rect.bottom - rect.top;
            if (width <= 0 || height <= 0) {
                return false;
            }
            const HDC screen = GetDC(nullptr);
            const Pixels shown = Capture(screen, rect.left, rect.top, width, height);
            ReleaseDC(nullptr, screen);
            // The top left corner of every standard icon is transparent: the background. The
            // information and question icons differ in about 7 % of their pixels.
            double best = 0.98;
            for (const Candidate& candidate : candidates) {
                const double likeness =
                    Likeness(shown, Render(candidate.resource, width, height, shown[0]));
                if (likeness >= best) {
                    best = likeness;
                    name = candidate.name;
                }
            }
            return name != L"other";
        },
        2000);
    return name;
}
