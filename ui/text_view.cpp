#include "ui/text_view.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "files/unique_handle_win32.h"

namespace {

constexpr int kPadding = 4;
// Characters measured at a time: a long line costs only the part up to where it is needed.
constexpr size_t kMeasuredRun = 512;

// Characters that take two cells of a monospaced font (East Asian wide and full-width forms).
bool IsWide(wchar_t c) {
    struct Range {
        wchar_t first, last;
    };
    static constexpr Range kWide[] = {{0x1100, 0x115F}, {0x2E80, 0xA4CF}, {0xAC00, 0xD7A3},
                                      {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
                                      {0xFFE0, 0xFFE6}};
    return std::any_of(std::begin(kWide), std::end(kWide),
                       [c](const Range& range) { return c >= range.first && c <= range.last; });
}

// The cells a line takes with its tabs expanded to the next multiple of eight.
size_t CellsOf(std::wstring_view line) {
    size_t cells = 0;
    for (const wchar_t c : line) {
        cells = c == L'\t' ? (cells / 8 + 1) * 8 : cells + (IsWide(c) ? 2 : 1);
    }
    return cells;
}

// Lines the wheel moves per notch, as the user set it; a page for "one screen at a time".
int WheelLines(int page) {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return lines == WHEEL_PAGESCROLL ? page : static_cast<int>(lines);
}

}  // namespace

void TextView::RegisterWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    Register(kTextViewClass, windowClass);
}

void TextView::SetText(std::wstring_view text) {
    text_ = text;
    lineStarts_.assign(1, 0);
    for (size_t i = 0; i < text_.size(); ++i) {
        // CR LF, CR or LF ends a line.
        if (text_[i] == L'\n' ||
            (text_[i] == L'\r' && (i + 1 == text_.size() || text_[i + 1] != L'\n'))) {
            lineStarts_.push_back(i + 1);
        }
    }
    widestLine_ = 0;
    size_t widestCells = 0;
    for (size_t line = 0; line < lineStarts_.size(); ++line) {
        const size_t cells = CellsOf(Line(line));
        if (cells > widestCells) {
            widestCells = cells;
            widestLine_ = line;
        }
    }
    anchor_ = caret_ = 0;
    firstLine_ = left_ = 0;
    MeasureWidth();
    UpdateScrollBars();
    InvalidateRect(window_, nullptr, TRUE);
}

LRESULT TextView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        case WM_GETTEXT:
            return OnGetText(wParam, reinterpret_cast<wchar_t*>(lParam));
        case WM_GETOBJECT:
            if (accessible_ == nullptr) {
                accessible_ = NewAccessibleText(window_, *this);
            }
            return accessible_ != nullptr ? AnswerGetObject(accessible_, wParam, lParam) : 0;
        case WM_DESTROY:
            DisconnectAccessibleText(std::exchange(accessible_, nullptr));
            return 0;
        case WM_SETFONT:
            OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
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
        case WM_HSCROLL:
            OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnMouse(message, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the drag is over where it was.
            selecting_ = false;
            return 0;
        case WM_SETFOCUS:
            CreateCaret(window_, nullptr, GetSystemMetrics(SM_CXBORDER) * 2, lineHeight_);
            PlaceCaret();
            ShowCaret(window_);
            return 0;
        case WM_KILLFOCUS:
            DestroyCaret();
            return 0;
        case EM_GETSEL:
            return OnGetSelection(reinterpret_cast<DWORD*>(wParam),
                                  reinterpret_cast<DWORD*>(lParam));
        default:
            return Default(message, wParam, lParam);
    }
}

LRESULT TextView::OnGetText(WPARAM size, wchar_t* buffer) const {
    if (size == 0) {
        return 0;
    }
    const size_t copied = text_.copy(buffer, size - 1);
    buffer[copied] = L'\0';
    return static_cast<LRESULT>(copied);
}

HGDIOBJ TextView::FontOrDefault() const {
    return font_ != nullptr ? font_ : GetStockObject(SYSTEM_FIXED_FONT);
}

void TextView::OnSetFont(HFONT font, bool redraw) {
    font_ = font;
    const WindowDc dc(window_);
    const SelectionGuard selected(dc.Get(), FontOrDefault());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    MeasureWidth();
    UpdateScrollBars();
    if (redraw) {
        InvalidateRect(window_, nullptr, TRUE);
    }
}

std::wstring_view TextView::Line(size_t line) const {
    const size_t start = lineStarts_[line];
    size_t end = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : text_.size();
    while (end > start && (text_[end - 1] == L'\n' || text_[end - 1] == L'\r')) {
        --end;
    }
    return text_.substr(start, end - start);
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
    info.nMax = std::max(0, width_ - 1);
    info.nPage = static_cast<UINT>(client.right);
    info.nPos = left_;
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

// The widest line in pixels, padding included, where the horizontal scroll bar ends.
void TextView::MeasureWidth() {
    const WindowDc dc(window_);
    const SelectionGuard selected(dc.Get(), FontOrDefault());
    int width = 0;
    FitTabbedText(dc.Get(), Line(widestLine_), TabWidth(), 0, INT_MAX / 2, width);
    width_ = width + 2 * kPadding;
}

int TextView::LastLeft() const {
    RECT client{};
    GetClientRect(window_, &client);
    return std::max(0, width_ - static_cast<int>(client.right));
}

void TextView::ScrollTo(int firstLine, int left) {
    firstLine = std::clamp(firstLine, 0, std::max(0, LineCount() - VisibleLines()));
    left = std::clamp(left, 0, LastLeft());
    if (firstLine != firstLine_ || left != left_) {
        firstLine_ = firstLine;
        left_ = left;
        UpdateScrollBars();
        InvalidateRect(window_, nullptr, TRUE);
    }
}

void TextView::OnScroll(int bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window_, bar, &info);
    const int step = bar == SB_VERT ? 1 : charWidth_ * 4;
    const int page = static_cast<int>(info.nPage);
    // Where each request, SB_LINEUP (0) to SB_BOTTOM (7), moves to; SB_ENDSCROLL stays.
    const int targets[] = {info.nPos - step, info.nPos + step, info.nPos - page, info.nPos + page,
                           info.nTrackPos,   info.nTrackPos,   info.nMin,        info.nMax};
    const int pos = request >= 0 && request < 8 ? targets[request] : info.nPos;
    if (bar == SB_VERT) {
        ScrollTo(pos, left_);
    } else {
        ScrollTo(firstLine_, pos);
    }
}

// A notch is WHEEL_DELTA; finer wheels and touchpads send parts of one, which add up until they
// make a line. Turning back starts afresh.
void TextView::OnWheel(int delta) {
    if ((delta > 0) != (wheelRest_ > 0)) {
        wheelRest_ = 0;
    }
    wheelRest_ += delta * WheelLines(VisibleLines());
    const int lines = wheelRest_ / WHEEL_DELTA;
    wheelRest_ %= WHEEL_DELTA;
    ScrollTo(firstLine_ - lines, left_);
}

size_t FitTabbedText(HDC dc, std::wstring_view text, int tabWidth, int start, int limit,
                     int& width) {
    int x = start;
    size_t column = 0;
    while (column < text.size() && x <= limit) {
        if (text[column] == L'\t') {
            const int next = (x / tabWidth + 1) * tabWidth;
            if (next > limit) {
                break;
            }
            x = next;
            ++column;
            continue;
        }
        size_t run =
            std::min({text.find(L'\t', column), text.size(), column + kMeasuredRun}) - column;
        if (run == kMeasuredRun && IS_HIGH_SURROGATE(text[column + run - 1])) {
            --run;  // a pair is measured whole
        }
        int fit = 0;
        SIZE size{};
        GetTextExtentExPointW(dc, text.data() + column, static_cast<int>(run), limit - x, &fit,
                              nullptr, &size);
        if (static_cast<size_t>(fit) < run) {
            // The characters that fit, measured on their own.
            GetTextExtentPoint32W(dc, text.data() + column, fit, &size);
            x += size.cx;
            column += static_cast<size_t>(fit);
            break;
        }
        x += size.cx;
        column += run;
    }
    width = x - start;
    return column;
}

// Draws the part of the line that the client area shows, from the character that the left edge
// cuts to the one that the right edge cuts, so a long line costs what is on the screen.
void TextView::PaintLine(HDC dc, size_t line, int y, int clientWidth) {
    const std::wstring_view text = Line(line);
    const int origin = kPadding - left_;
    int skipped = 0;
    const size_t first = FitTabbedText(dc, text, TabWidth(), 0, left_ - kPadding, skipped);
    int shown = 0;
    const size_t last = std::min(
        text.size(),
        first + 2 +
            FitTabbedText(dc, text.substr(first), TabWidth(), skipped, left_ + clientWidth, shown));
    const size_t start = lineStarts_[line];
    const size_t selectionStart = std::min(anchor_, caret_);
    const size_t selectionEnd = std::max(anchor_, caret_);
    // The part in up to three pieces: before, inside and after the selection.
    size_t cuts[4] = {first, 0, 0, last};
    cuts[1] = std::clamp(selectionStart, start + first, start + last) - start;
    cuts[2] = std::clamp(selectionEnd, start + first, start + last) - start;
    int x = skipped;
    for (int piece = 0; piece < 3; ++piece) {
        const std::wstring_view part = text.substr(cuts[piece], cuts[piece + 1] - cuts[piece]);
        if (part.empty()) {
            continue;
        }
        const bool selected = piece == 1;
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(dc, selected ? OPAQUE : TRANSPARENT);
        TabbedTextOutW(dc, origin + x, y, part.data(), static_cast<int>(part.size()), 0, nullptr,
                       origin);
        // TabbedTextOutW reports a width of 16 bits only: measure it in full.
        int width = 0;
        FitTabbedText(dc, part, TabWidth(), x, INT_MAX, width);
        x += width;
    }
}

void TextView::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window_, &paint);
    {
        RECT client{};
        GetClientRect(window_, &client);
        const SelectionGuard selected(dc, FontOrDefault());
        const int last = std::min(LineCount(), firstLine_ + VisibleLines() + 1);
        for (int line = firstLine_; line < last; ++line) {
            PaintLine(dc, static_cast<size_t>(line), kPadding + (line - firstLine_) * lineHeight_,
                      client.right);
        }
    }
    EndPaint(window_, &paint);
    PlaceCaret();
}

// The caret stands before the character at caret_ while the view has the focus; off the client
// area when that line is scrolled away.
void TextView::PlaceCaret() {
    if (GetFocus() != window_) {
        return;
    }
    const size_t line = static_cast<size_t>(
        std::upper_bound(lineStarts_.begin(), lineStarts_.end(), caret_) - lineStarts_.begin() - 1);
    const int row = static_cast<int>(line) - firstLine_;
    if (row < 0 || row > VisibleLines()) {
        SetCaretPos(-lineHeight_, -lineHeight_);
        return;
    }
    const WindowDc dc(window_);
    const SelectionGuard selected(dc.Get(), FontOrDefault());
    int width = 0;
    FitTabbedText(dc.Get(), Line(line).substr(0, caret_ - lineStarts_[line]), TabWidth(), 0,
                  INT_MAX / 2, width);
    SetCaretPos(kPadding - left_ + width, kPadding + row * lineHeight_);
}

LRESULT TextView::OnGetSelection(DWORD* start, DWORD* end) const {
    const auto capped = [](size_t position) {
        return static_cast<DWORD>(std::min<size_t>(position, MAXDWORD));
    };
    if (start != nullptr) {
        *start = capped(std::min(anchor_, caret_));
    }
    if (end != nullptr) {
        *end = capped(std::max(anchor_, caret_));
    }
    return MAKELRESULT(std::min<size_t>(std::min(anchor_, caret_), 0xFFFF),
                       std::min<size_t>(std::max(anchor_, caret_), 0xFFFF));
}

size_t TextView::HitTest(int x, int y) {
    const int line = std::clamp(firstLine_ + (y - kPadding) / lineHeight_, 0, LineCount() - 1);
    const WindowDc dc(window_);
    const SelectionGuard selected(dc.Get(), FontOrDefault());
    int width = 0;
    const size_t column = FitTabbedText(dc.Get(), Line(static_cast<size_t>(line)), TabWidth(), 0,
                                        x - kPadding + left_, width);
    return lineStarts_[static_cast<size_t>(line)] + column;
}

void TextView::OnMouse(UINT message, LPARAM position) {
    switch (message) {
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            SetCapture(window_);
            selecting_ = true;
            caret_ = HitTest(GET_X_LPARAM(position), GET_Y_LPARAM(position));
            if (GetKeyState(VK_SHIFT) >= 0) {
                anchor_ = caret_;
            }
            InvalidateRect(window_, nullptr, TRUE);
            break;
        case WM_MOUSEMOVE:
            if (selecting_) {
                caret_ = HitTest(GET_X_LPARAM(position), GET_Y_LPARAM(position));
                InvalidateRect(window_, nullptr, TRUE);
            }
            break;
        default:
            selecting_ = false;
            ReleaseCapture();
            break;
    }
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
    const int step = charWidth_ * 4;
    if (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT) {
        const int lines = key == VK_UP || key == VK_DOWN ? 1 : page;
        ScrollTo(firstLine_ + (key == VK_UP || key == VK_PRIOR ? -lines : lines), left_);
    } else if (key == VK_LEFT || key == VK_RIGHT) {
        ScrollTo(firstLine_, left_ + (key == VK_LEFT ? -step : step));
    } else if (key == VK_HOME || key == VK_END) {
        const int line = key == VK_HOME ? 0 : LineCount();
        ScrollTo(control ? line : firstLine_, key == VK_HOME ? 0 : LastLeft());
    } else if (control && key == 'A') {
        anchor_ = 0;
        caret_ = text_.size();
        InvalidateRect(window_, nullptr, TRUE);
    } else if (control && (key == 'C' || key == VK_INSERT)) {
        Copy();
    }
}
