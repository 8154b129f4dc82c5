#include "ui/text_view.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kPadding = 4;
constexpr int kWheelLines = 3;

class TextView {
  public:
    explicit TextView(HWND window) : window_(window) {}
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void SetText(const wchar_t* text);
    void MeasureFont();
    void UpdateScrollBars();
    void ScrollTo(int firstLine, int left);
    void OnPaint();
    void PaintLine(HDC dc, size_t line, int y);
    void OnKey(WPARAM key);
    size_t HitTest(int x, int y);
    void Copy() const;
    std::wstring_view Line(size_t line) const;
    int LineCount() const { return static_cast<int>(lineStarts_.size()); }
    int VisibleLines() const;
    int Width(HDC dc, std::wstring_view text) const;

    HWND window_;
    std::wstring text_;
    std::vector<size_t> lineStarts_{0};
    size_t longestLine_ = 0;
    HFONT font_ = nullptr;
    int lineHeight_ = 16;
    int charWidth_ = 8;
    int firstLine_ = 0;
    int left_ = 0;
    size_t anchor_ = 0;  // the selection runs from anchor_ to caret_, in either order
    size_t caret_ = 0;
    bool selecting_ = false;
};

std::wstring_view TextView::Line(size_t line) const {
    const size_t start = lineStarts_[line];
    size_t end = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : text_.size();
    while (end > start && (text_[end - 1] == L'\n' || text_[end - 1] == L'\r')) {
        --end;
    }
    return std::wstring_view(text_).substr(start, end - start);
}

void TextView::SetText(const wchar_t* text) {
    text_ = text != nullptr ? text : L"";
    lineStarts_.assign(1, 0);
    longestLine_ = 0;
    for (size_t i = 0; i < text_.size(); ++i) {
        // CR LF, CR or LF ends a line.
        if (text_[i] == L'\n' ||
            (text_[i] == L'\r' && (i + 1 == text_.size() || text_[i + 1] != L'\n'))) {
            longestLine_ = std::max(longestLine_, i + 1 - lineStarts_.back());
            lineStarts_.push_back(i + 1);
        }
    }
    longestLine_ = std::max(longestLine_, text_.size() - lineStarts_.back());
    anchor_ = caret_ = 0;
    firstLine_ = left_ = 0;
    UpdateScrollBars();
    InvalidateRect(window_, nullptr, TRUE);
}

void TextView::MeasureFont() {
    const HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
}

int TextView::VisibleLines() const {
    RECT client{};
    GetClientRect(window_, &client);
    return std::max(1, static_cast<int>((client.bottom - 2 * kPadding) / lineHeight_));
}

void TextView::UpdateScrollBars() {
    RECT client{};
    GetClientRect(window_, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMax = LineCount() - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = firstLine_;
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
    // Wide characters take two cells of a monospaced font: room for the longest line either way.
    info.nMax = static_cast<int>(longestLine_) * charWidth_ * 2 + 2 * kPadding;
    info.nPage = static_cast<UINT>(client.right);
    info.nPos = left_;
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

void TextView::ScrollTo(int firstLine, int left) {
    firstLine = std::clamp(firstLine, 0, std::max(0, LineCount() - VisibleLines()));
    left = std::max(0, left);
    if (firstLine != firstLine_ || left != left_) {
        firstLine_ = firstLine;
        left_ = left;
        UpdateScrollBars();
        InvalidateRect(window_, nullptr, TRUE);
    }
}

int TextView::Width(HDC dc, std::wstring_view text) const {
    if (text.empty()) {
        return 0;
    }
    return LOWORD(GetTabbedTextExtentW(dc, text.data(), static_cast<int>(text.size()), 0, nullptr));
}

void TextView::PaintLine(HDC dc, size_t line, int y) {
    const std::wstring_view text = Line(line);
    const size_t start = lineStarts_[line];
    const size_t selectionStart = std::min(anchor_, caret_);
    const size_t selectionEnd = std::max(anchor_, caret_);
    // The line in up to three pieces: before, inside and after the selection.
    size_t cuts[4] = {0, 0, 0, text.size()};
    cuts[1] = std::clamp(selectionStart, start, start + text.size()) - start;
    cuts[2] = std::clamp(selectionEnd, start, start + text.size()) - start;
    int x = kPadding - left_;
    for (int piece = 0; piece < 3; ++piece) {
        const std::wstring_view part = text.substr(cuts[piece], cuts[piece + 1] - cuts[piece]);
        if (part.empty()) {
            continue;
        }
        const bool selected = piece == 1;
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(dc, selected ? OPAQUE : TRANSPARENT);
        const LONG extent = TabbedTextOutW(dc, x, y, part.data(), static_cast<int>(part.size()), 0,
                                           nullptr, kPadding - left_);
        x += LOWORD(extent);
    }
}

void TextView::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window_, &paint);
    const HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FIXED_FONT));
    const int last = std::min(LineCount(), firstLine_ + VisibleLines() + 1);
    for (int line = firstLine_; line < last; ++line) {
        PaintLine(dc, static_cast<size_t>(line), kPadding + (line - firstLine_) * lineHeight_);
    }
    SelectObject(dc, old);
    EndPaint(window_, &paint);
}

size_t TextView::HitTest(int x, int y) {
    const int line = std::clamp(firstLine_ + (y - kPadding) / lineHeight_, 0, LineCount() - 1);
    const std::wstring_view text = Line(static_cast<size_t>(line));
    const HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FIXED_FONT));
    const int target = x - kPadding + left_;
    size_t column = 0;
    while (column < text.size() && Width(dc, text.substr(0, column + 1)) <= target) {
        ++column;
    }
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    return lineStarts_[static_cast<size_t>(line)] + column;
}

void TextView::Copy() const {
    const size_t start = std::min(anchor_, caret_);
    const size_t length = std::max(anchor_, caret_) - start;
    // Another program may hold the clipboard for a moment: try a few times before giving up.
    bool opened = false;
    for (int attempt = 0; length != 0 && attempt < 10 && !opened; ++attempt) {
        opened = OpenClipboard(window_) != FALSE;
        if (!opened) {
            Sleep(20);
        }
    }
    if (!opened) {
        return;
    }
    EmptyClipboard();
    if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(wchar_t))) {
        auto* target = static_cast<wchar_t*>(GlobalLock(memory));
        text_.copy(target, length, start);
        target[length] = L'\0';
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

void TextView::OnKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int page = VisibleLines();
    switch (key) {
        case VK_UP:
            ScrollTo(firstLine_ - 1, left_);
            break;
        case VK_DOWN:
            ScrollTo(firstLine_ + 1, left_);
            break;
        case VK_PRIOR:
            ScrollTo(firstLine_ - page, left_);
            break;
        case VK_NEXT:
            ScrollTo(firstLine_ + page, left_);
            break;
        case VK_LEFT:
            ScrollTo(firstLine_, left_ - charWidth_ * 4);
            break;
        case VK_RIGHT:
            ScrollTo(firstLine_, left_ + charWidth_ * 4);
            break;
        case VK_HOME:
            ScrollTo(control ? 0 : firstLine_, 0);
            break;
        case VK_END:
            ScrollTo(control ? LineCount() : firstLine_, left_);
            break;
        case 'A':
            if (control) {
                anchor_ = 0;
                caret_ = text_.size();
                InvalidateRect(window_, nullptr, TRUE);
            }
            break;
        case 'C':
        case VK_INSERT:
            if (control) {
                Copy();
            }
            break;
        default:
            break;
    }
}

LRESULT TextView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            SetText(reinterpret_cast<const wchar_t*>(lParam));
            return TRUE;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        case WM_GETTEXT: {
            if (wParam == 0) {
                return 0;
            }
            const size_t copied = text_.copy(reinterpret_cast<wchar_t*>(lParam), wParam - 1);
            reinterpret_cast<wchar_t*>(lParam)[copied] = L'\0';
            return static_cast<LRESULT>(copied);
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            MeasureFont();
            UpdateScrollBars();
            if (LOWORD(lParam)) {
                InvalidateRect(window_, nullptr, TRUE);
            }
            return 0;
        case WM_SIZE:
            UpdateScrollBars();
            ScrollTo(firstLine_, left_);
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_GETDLGCODE:
            // No characters: typing Y or N here answers the prompt, as in a message box.
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            OnKey(wParam);
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL: {
            const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            GetScrollInfo(window_, bar, &info);
            const int step = bar == SB_VERT ? 1 : charWidth_ * 4;
            int pos = info.nPos;
            switch (LOWORD(wParam)) {
                case SB_LINEUP:
                    pos -= step;
                    break;
                case SB_LINEDOWN:
                    pos += step;
                    break;
                case SB_PAGEUP:
                    pos -= static_cast<int>(info.nPage);
                    break;
                case SB_PAGEDOWN:
                    pos += static_cast<int>(info.nPage);
                    break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION:
                    pos = info.nTrackPos;
                    break;
                case SB_TOP:
                    pos = info.nMin;
                    break;
                case SB_BOTTOM:
                    pos = info.nMax;
                    break;
                default:
                    break;
            }
            if (bar == SB_VERT) {
                ScrollTo(pos, left_);
            } else {
                ScrollTo(firstLine_, std::min(pos, info.nMax - static_cast<int>(info.nPage) + 1));
            }
            return 0;
        }
        case WM_MOUSEWHEEL:
            ScrollTo(firstLine_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines,
                     left_);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            SetCapture(window_);
            selecting_ = true;
            caret_ = HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (GetKeyState(VK_SHIFT) >= 0) {
                anchor_ = caret_;
            }
            InvalidateRect(window_, nullptr, TRUE);
            return 0;
        case WM_MOUSEMOVE:
            if (selecting_) {
                caret_ = HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
                InvalidateRect(window_, nullptr, TRUE);
            }
            return 0;
        case WM_LBUTTONUP:
            selecting_ = false;
            ReleaseCapture();
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK TextViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<TextView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        view = new TextView(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    if (view == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete view;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCCREATE) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->OnMessage(message, wParam, lParam);
}

}  // namespace

void RegisterTextView() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = TextViewProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kTextViewClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}
