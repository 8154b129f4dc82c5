// A read-only, scrollable view of a long text in a monospaced font. Unlike an EDIT control it
// shows the caller's text where it is, without a copy, and lays out only the lines on screen, so
// a text of many megabytes opens at once. The mouse selects, Ctrl+A selects all, Ctrl+C copies;
// the arrow and page keys scroll; a caret marks the focus. WM_GETTEXT answers with the text,
// EM_GETSEL with the selection, and accessibility clients read it as read-only text.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "ui/text_view_accessible.h"
#include "ui/window_base.h"

inline constexpr wchar_t kTextViewClass[] = L"OrvandelTextView";

// Lays `text` out in the font selected into `dc` as TabbedTextOutW does (a tab stops at the next
// multiple of `tabWidth` pixels from the origin), starting `start` pixels from the origin: returns
// how many characters end within `limit` pixels of the origin, and in `width` how wide they are.
// One measurement per run of characters between tabs, so it costs no more than the text's length,
// and widths are whole ints, where TabbedTextOutW reports 16 bits.
size_t FitTabbedText(HDC dc, std::wstring_view text, int tabWidth, int start, int limit,
                     int& width);

class TextView : public WindowBase<TextView>, public AccessibleTextSource {
  public:
    // Registers the window class; a window of it is created with its TextView as the parameter.
    static void RegisterWindowClass();
    // Shows `text`, which must outlive the window. Throws std::bad_alloc when memory runs out.
    void SetText(std::wstring_view text);
    // What accessibility clients hear the view called; must outlive the window.
    void SetAccessibleName(std::wstring_view name) { name_ = name; }

    std::wstring_view AccessibleName() const override { return name_; }
    std::wstring_view AccessibleText() const override { return text_; }

  private:
    friend class WindowBase<TextView>;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM size, wchar_t* buffer) const;
    void OnSetFont(HFONT font, bool redraw);
    void OnScroll(int bar, int request);
    void OnKey(WPARAM key);
    void OnWheel(int delta);
    void OnMouse(UINT message, LPARAM position);
    void OnPaint();
    LRESULT OnGetSelection(DWORD* start, DWORD* end) const;

    void MeasureWidth();
    int LastLeft() const;
    void UpdateScrollBars();
    void ScrollTo(int firstLine, int left);
    void PaintLine(HDC dc, size_t line, int y, int clientWidth);
    void PlaceCaret();
    size_t HitTest(int x, int y);
    void Copy() const;
    HGDIOBJ FontOrDefault() const;
    std::wstring_view Line(size_t line) const;
    int LineCount() const { return static_cast<int>(lineStarts_.size()); }
    int VisibleLines() const;
    // TabbedTextOutW's default stops: every eight average character widths.
    int TabWidth() const { return 8 * charWidth_; }

    std::wstring_view text_;
    std::wstring_view name_;
    IAccessible* accessible_ = nullptr;  // created when a client first asks
    std::vector<size_t> lineStarts_{0};
    size_t widestLine_ = 0;  // the line with the most cells, tabs expanded
    int width_ = 0;          // the widest line's pixels, padding included
    int wheelRest_ = 0;      // wheel turns not yet a whole line, in WHEEL_DELTA per line
    HFONT font_ = nullptr;
    int lineHeight_ = 16;
    int charWidth_ = 8;
    int firstLine_ = 0;
    int left_ = 0;
    size_t anchor_ = 0;  // the selection runs from anchor_ to caret_, in either order
    size_t caret_ = 0;
    bool selecting_ = false;
};
