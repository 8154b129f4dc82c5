// The window's logic that needs no window: the open dialog's record and error trap, and which
// prompts fit a message box.
#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>

#include "tests/fake_host.h"
#include "ui/mdlOpen.h"
#include "ui/form1.h"
#include "ui/message_box.h"
#include "files/unique_handle_win32.h"
#include "ui/text_view.h"
#include "ui/text_view_accessible.h"

namespace {

TEST(OpenDialog, FilterHasFourNulTerminatedParts) {
    const std::wstring expected(
        L"C类文件(*.c;*.cpp;*.h;*.hpp;*.java)\0"
        L"*.c;*.cpp;*.h;*.hpp;*.java\0"
        L"所有文件(*.*)\0"
        L"*.*\0",
        32 + 1 + 26 + 1 + 9 + 1 + 3 + 1);
    EXPECT_EQ(mdlOpen::CFamilyFilter(), expected);
    EXPECT_EQ(mdlOpen::CFamilyFilter().size(), 74u);
}

TEST(OpenDialog, RecordAsksForAnExistingFileWithRoomForLongPaths) {
    mdlOpen::OpenRecord record;
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    mdlOpen::FillOpenRecord(record, owner, L"选择文件", mdlOpen::CFamilyFilter());
    const OPENFILENAMEW& fields = record.fields;
    EXPECT_EQ(fields.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(fields.hwndOwner, owner);
    EXPECT_EQ(fields.nFilterIndex, 1u);
    EXPECT_EQ(fields.nMaxFile, 32768u);
    EXPECT_EQ(fields.lpstrFile[0], L'\0');
    EXPECT_GE(fields.nMaxFileTitle, 255u);
    EXPECT_EQ(fields.lpstrInitialDir, nullptr);
    EXPECT_STREQ(fields.lpstrTitle, L"选择文件");
    EXPECT_EQ(fields.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                                               OFN_FILEMUSTEXIST | OFN_SHAREAWARE));
    EXPECT_EQ(fields.Flags, 0x5804u);
    // The filter as the dialog reads it: the four parts, then the empty part that ends the list.
    const std::wstring filter(fields.lpstrFilter, mdlOpen::CFamilyFilter().size() + 1);
    EXPECT_EQ(filter, mdlOpen::CFamilyFilter() + L'\0');
    EXPECT_EQ(fields.lpstrCustomFilter, nullptr);
    EXPECT_EQ(fields.lpfnHook, nullptr);
}

BOOL WINAPI ChooseFile(OPENFILENAMEW* fields) {
    wcscpy_s(fields->lpstrFile, fields->nMaxFile, L"C:\\src\\main.c");
    return TRUE;
}
BOOL WINAPI Cancel(OPENFILENAMEW*) {
    return FALSE;
}
BOOL WINAPI RunOutOfMemory(OPENFILENAMEW*) {
    throw std::bad_alloc();
}
BOOL WINAPI FailWithCode(OPENFILENAMEW*) {
    throw std::system_error(ERROR_INVALID_WINDOW_HANDLE, std::system_category(), "no owner");
}
BOOL WINAPI ThrowSomethingElse(OPENFILENAMEW*) {
    throw 42;
}

// The system's own description of `code`, read through the wide API, without its closing
// punctuation and line break.
std::wstring SystemMessage(DWORD code) {
    wchar_t buffer[512];
    DWORD size = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, 512, nullptr);
    while (size > 0 && (buffer[size - 1] == L'\r' || buffer[size - 1] == L'\n' ||
                        buffer[size - 1] == L'.' || buffer[size - 1] == L'。')) {
        --size;
    }
    return std::wstring(buffer, size);
}

TEST(OpenDialog, ReturnsThePathOrNothingAndTrapsErrors) {
    FakeHost host(L"", L"");
    EXPECT_EQ(
        mdlOpen::ShowOpenDialog(nullptr, L"选择文件", mdlOpen::CFamilyFilter(), host, ChooseFile),
        L"C:\\src\\main.c");
    EXPECT_EQ(mdlOpen::ShowOpenDialog(nullptr, L"选择文件", mdlOpen::CFamilyFilter(), host, Cancel),
              L"");
    EXPECT_TRUE(host.Prompts().empty()) << "a cancelled dialog says nothing";

    EXPECT_EQ(mdlOpen::ShowOpenDialog(nullptr, L"t", L"f", host, RunOutOfMemory), L"");
    EXPECT_EQ(mdlOpen::ShowOpenDialog(nullptr, L"t", L"f", host, FailWithCode), L"");
    EXPECT_EQ(mdlOpen::ShowOpenDialog(nullptr, L"t", L"f", host, ThrowSomethingElse), L"");
    ASSERT_EQ(host.Prompts().size(), 3u);
    for (const RecordedPrompt& seen : host.Prompts()) {
        EXPECT_EQ(seen.prompt.title, u"mnuFileOpenDialog_Click");
        EXPECT_EQ(seen.prompt.icon, PromptIcon::None);
        EXPECT_EQ(seen.prompt.buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(host.Prompts()[0].prompt.text, u"Error: 7 Out of memory");
    // The description is the system's message in the user's language (GBK bytes from the runtime
    // under code page 936), as readable text and without the line break that ends it.
    const DisplayText& shown = host.Prompts()[1].prompt.text;
    const std::wstring systemError(shown.begin(), shown.end());
    const std::wstring message = SystemMessage(ERROR_INVALID_WINDOW_HANDLE);
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(systemError.rfind(L"Error: 1400 no owner: " + message, 0), 0u) << systemError;
    EXPECT_NE(systemError.back(), L'\n');
    EXPECT_EQ(host.Prompts()[2].prompt.text, u"Error: 5 Unknown error");
}

TEST(MessagePrompt, LongTextsGoToTheViewer) {
    const DisplayText line100(100, u'x');
    DisplayText lines25;
    for (int i = 0; i < 25; ++i) {
        lines25 += (i ? u"\r\n" : u"") + line100;
    }
    EXPECT_TRUE(FitsMessageBox(u""));
    EXPECT_TRUE(FitsMessageBox(lines25));
    EXPECT_FALSE(FitsMessageBox(lines25 + u"\r\nx"));
    EXPECT_FALSE(FitsMessageBox(line100 + u"x"));
    EXPECT_FALSE(FitsMessageBox(u"a\r\n" + line100 + u"x\r\nb"));
    EXPECT_TRUE(FitsMessageBox(u"保存成功！ 是否打开该文件？\r\n\r\nC:\\1.cpp"));
}

// The text viewer's layout measures lines wider than 65,535 pixels, where TabbedTextOutW's
// reported width wraps, and finds the column under a click there.
TEST(TextViewLayout, MeasuresAndHitsBeyondSixteenBitWidths) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const SelectionGuard font(dc, GetStockObject(SYSTEM_FIXED_FONT));
    SIZE one{};
    GetTextExtentPoint32W(dc, L"a", 1, &one);
    const std::wstring line(100000 / one.cx, L'a');
    int width = 0;
    EXPECT_EQ(FitTabbedText(dc, line, 8 * one.cx, 0, INT_MAX, width), line.size());
    EXPECT_EQ(width, static_cast<int>(line.size()) * one.cx);
    EXPECT_EQ(FitTabbedText(dc, line, 8 * one.cx, 0, 9000 * one.cx + one.cx / 2, width), 9000u);
    // A tab moves on to the next stop.
    EXPECT_EQ(FitTabbedText(dc, L"a\tb", 8 * one.cx, 0, INT_MAX, width), 3u);
    EXPECT_EQ(width, 9 * one.cx);
    DeleteDC(dc);
}

// The options of the system menu, in this process, where its menu can be read.
TEST(SystemMenu, OptionsShowTheirCheckMarksAndAreStoredAndOddValuesMeanOff) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvandel");
    const DWORD two = 2;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvandel", L"Literals", REG_DWORD, &two,
                    sizeof two);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvandel", L"KeepHeader", REG_SZ, L"1", 4);
    {
        Form1 form;
        ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_HIDE));
        const HMENU menu = GetSystemMenu(form.Window(), FALSE);
        const auto checked = [&](unsigned id) {
            return GetMenuState(menu, id, MF_BYCOMMAND) == MF_CHECKED;
        };
        EXPECT_EQ(GetMenuState(menu, kMenuLiteralsId, MF_BYCOMMAND), 0u) << "2 means off";
        EXPECT_EQ(GetMenuState(menu, kMenuKeepHeaderId, MF_BYCOMMAND), 0u) << "text means off";
        EXPECT_EQ(GetMenuState(menu, kMenuAboutId, MF_BYCOMMAND), 0u);
        SendMessageW(form.Window(), WM_SYSCOMMAND, kMenuLiteralsId, 0);
        EXPECT_TRUE(checked(kMenuLiteralsId));
        EXPECT_TRUE(LoadUserSettings().literals);
        EXPECT_FALSE(LoadUserSettings().keepHeader);
        EXPECT_TRUE(form.Options().literals);
        SendMessageW(form.Window(), WM_SYSCOMMAND, kMenuLiteralsId, 0);
        EXPECT_FALSE(checked(kMenuLiteralsId));
        EXPECT_FALSE(LoadUserSettings().literals);
        DestroyWindow(form.Window());
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvandel");
}

// Another running copy stores its own choice meanwhile: choosing one option keeps it.
TEST(SystemMenu, ChoosingAnOptionStoresOnlyThatOne) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvandel");
    {
        Form1 form;
        ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_HIDE));
        const DWORD on = 1;
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvandel", L"KeepHeader", REG_DWORD, &on,
                        sizeof on);
        SendMessageW(form.Window(), WM_SYSCOMMAND, kMenuLiteralsId, 0);
        EXPECT_TRUE(LoadUserSettings().literals);
        EXPECT_TRUE(LoadUserSettings().keepHeader) << "the other copy's choice was undone";
        DestroyWindow(form.Window());
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvandel");
}

// What a screen reader reads from the text viewer's text: read-only text named by the prompt's
// title, whose value is the whole text, through either interface; nothing once the window has gone.
TEST(AccessibleText, IsReadOnlyTextWithItsNameAndWholeValueUntilDisconnected) {
    struct Source : AccessibleTextSource {
        std::wstring_view AccessibleName() const override { return L"未处理前的文件"; }
        std::wstring_view AccessibleText() const override { return {L"a\0b\r\nc", 6}; }
    } source;
    const HWND window = CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 80, 40, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    IAccessible* text = NewAccessibleText(window, source);
    ASSERT_NE(text, nullptr);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT number{};
    EXPECT_EQ(text->get_accRole(self, &number), S_OK);
    EXPECT_EQ(number.lVal, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(text->get_accState(self, &number), S_OK);
    EXPECT_EQ(
        number.lVal & (STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE),
        STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE);
    const auto read = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR value = nullptr;
        const HRESULT result = (text->*get)(self, &value);
        const std::wstring read = result == S_OK ? std::wstring(value, SysStringLen(value)) : L"-";
        SysFreeString(value);
        return read;
    };
    EXPECT_EQ(read(&IAccessible::get_accName), L"未处理前的文件");
    EXPECT_EQ(read(&IAccessible::get_accValue), std::wstring(L"a\0b\r\nc", 6));
    // The same through UI Automation's Value pattern.
    IValueProvider* value = nullptr;
    ASSERT_EQ(text->QueryInterface(__uuidof(IValueProvider), reinterpret_cast<void**>(&value)),
              S_OK);
    BOOL readOnly = FALSE;
    EXPECT_EQ(value->get_IsReadOnly(&readOnly), S_OK);
    EXPECT_TRUE(readOnly);
    BSTR whole = nullptr;
    EXPECT_EQ(value->get_Value(&whole), S_OK);
    EXPECT_EQ(std::wstring(whole, SysStringLen(whole)), std::wstring(L"a\0b\r\nc", 6));
    SysFreeString(whole);
    value->Release();
    text->AddRef();  // a client's reference, kept after the window has gone
    DisconnectAccessibleText(text);
    DestroyWindow(window);
    EXPECT_EQ(read(&IAccessible::get_accValue), L"-");
    EXPECT_EQ(text->get_accRole(self, &number), CO_E_OBJNOTCONNECTED);
    text->Release();
}

// The text view in this process, in the system's fixed font, driven by the messages that the mouse,
// the wheel and the keys send.
class TextViewTest : public ::testing::Test {
  protected:
    void Show(std::wstring shown) {
        text = std::move(shown);
        TextView::RegisterWindowClass();
        window = CreateWindowExW(0, kTextViewClass, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 300, 120,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), &view);
        ASSERT_NE(window, nullptr);
        SendMessageW(window, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)), FALSE);
        view.SetText(text);
        const WindowDc dc(window);
        const SelectionGuard font(dc.Get(), GetStockObject(SYSTEM_FIXED_FONT));
        SIZE one{};
        GetTextExtentPoint32W(dc.Get(), L"a", 1, &one);
        cell = one.cx;
    }
    void TearDown() override { DestroyWindow(window); }
    LPARAM AtColumn(int column) const { return MAKELPARAM(kPadding + column * cell + 1, 5); }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;
        SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    static constexpr int kPadding = 4;  // between the border and the text
    TextView view;
    std::wstring text;
    HWND window = nullptr;
    int cell = 0;
};

TEST_F(TextViewTest, WheelStepsFinerThanANotchAddUp) {
    std::wstring lines;
    for (int i = 0; i < 100; ++i) {
        lines += L"line\r\n";
    }
    Show(lines);
    UINT perNotch = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    for (int step = 0; step < 6; ++step) {
        SendMessageW(window, WM_MOUSEWHEEL, static_cast<WORD>(-WHEEL_DELTA / 6) << 16, 0);
    }
    EXPECT_EQ(GetScrollPos(window, SB_VERT), static_cast<int>(perNotch));
}

TEST_F(TextViewTest, EndShowsTheEndOfALineOfTabsAndScrollingStopsThere) {
    Show(L"x" + std::wstring(40, L'\t') + L"end");
    SendMessageW(window, WM_KEYDOWN, VK_END, 0);
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    GetScrollInfo(window, SB_HORZ, &bar);
    // Tabs stop every eight cells: the line ends three cells after the fortieth stop.
    EXPECT_GE(bar.nMax + 1, (40 * 8 + 3) * cell + 2 * kPadding);
    EXPECT_EQ(bar.nPos, bar.nMax + 1 - static_cast<int>(bar.nPage)) << "not at the end";
    SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(GetScrollPos(window, SB_HORZ), bar.nPos) << "scrolled past the end";
}

TEST_F(TextViewTest, LosingTheMouseCaptureEndsTheDrag) {
    Show(L"abcdefghij");
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, AtColumn(0));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, AtColumn(5));
    SendMessageW(window, WM_CAPTURECHANGED, 0, 0);
    SendMessageW(window, WM_MOUSEMOVE, 0, AtColumn(9));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{5}));
}

TEST_F(TextViewTest, TheFocusShowsACaretWhereTheClickWas) {
    Show(L"abcdefghij");
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, AtColumn(3));
    SendMessageW(window, WM_LBUTTONUP, 0, AtColumn(3));
    UpdateWindow(window);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    EXPECT_EQ(info.hwndCaret, window);
    EXPECT_EQ(info.rcCaret.left, kPadding + 3 * cell);
}

}  // namespace
