// The kind of each control beyond its class (a group box, a check box and a push button are all
// of class Button), and the label that sizes itself to its caption.
#include "tests/e2e/real_input.h"
#include "tests/window/program_fixture.h"

namespace {

using ControlKindsTest = ProgramTest;

LONG StyleOf(HWND control) {
    return GetWindowLongW(control, GWL_STYLE);
}

std::wstring ClassOf(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    return name;
}

// The size of `text` in the system's message font at `dpi`: the window's font.
SIZE TextExtentInMessageFont(const std::wstring& text, UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size;
}

TEST_F(ControlKindsTest, FramesAreGroupBoxesButtonsPlainPushButtonsFieldsSingleLineEdits) {
    for (int id : {kFrame1, kFrame2}) {
        EXPECT_EQ(ClassOf(Control(id)), L"Button") << id;
        EXPECT_EQ(StyleOf(Control(id)) & BS_TYPEMASK, BS_GROUPBOX) << id;
        EXPECT_FALSE(StyleOf(Control(id)) & WS_TABSTOP) << id;
    }
    // No button is the window's default: none has the default push button style.
    for (int id : {kCommand1, kCommand2, kCommand4, kCommand5}) {
        EXPECT_EQ(ClassOf(Control(id)), L"Button") << id;
        EXPECT_EQ(StyleOf(Control(id)) & BS_TYPEMASK, BS_PUSHBUTTON) << id;
        EXPECT_TRUE(IsWindowEnabled(Control(id))) << id;
    }
    for (int id : {kText1, kText2}) {
        EXPECT_EQ(ClassOf(Control(id)), L"Edit") << id;
        EXPECT_FALSE(StyleOf(Control(id)) & (ES_MULTILINE | ES_READONLY | ES_PASSWORD)) << id;
        EXPECT_TRUE(IsWindowEnabled(Control(id))) << id;
    }
}

TEST_F(ControlKindsTest, LabelStandsAtItsPlaceInTheSizeOfItsCaption) {
    const HWND label = Control(kLabel1);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(ClassOf(label), L"Static");
    EXPECT_EQ(StyleOf(label) & SS_TYPEMASK, SS_LEFT);
    EXPECT_FALSE(StyleOf(label) & WS_TABSTOP);
    EXPECT_EQ(app.Text(label), L"Orvandel");

    const UINT dpi = GetDpiForWindow(app.Main());
    RECT rect{};
    GetWindowRect(label, &rect);
    MapWindowPoints(nullptr, app.Main(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, MulDiv(1080, static_cast<int>(dpi), 1440));
    EXPECT_EQ(rect.top, MulDiv(240, static_cast<int>(dpi), 1440));
    const SIZE caption = TextExtentInMessageFont(L"Orvandel", dpi);
    EXPECT_EQ(rect.right - rect.left, caption.cx);
    EXPECT_EQ(rect.bottom - rect.top, caption.cy);
}

}  // namespace
