// The real orvandel.exe, driven from outside as a person would use it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <uiautomationclient.h>

#include "files/long_path_win32.h"
#include "files/unique_handle_win32.h"
#include "files/utf8.h"
#include "tests/window/program_fixture.h"
#include "tests/window/recorder_file_type.h"
#include "tests/window/sample_source.h"
#include "ui/control_ids.h"
#include "ui/text_viewer.h"

namespace {

using WindowTest = ProgramTest;

// Pixels of a control's rectangle relative to its frame (or the client area), at 96 DPI.
RECT RelativeRect(HWND control, HWND container, HWND main) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
    if (container != nullptr) {
        RECT frame{};
        GetWindowRect(container, &frame);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&frame), 2);
        OffsetRect(&rect, -frame.left, -frame.top);
    }
    return rect;
}

TEST_F(WindowTest, OpensWithTheControlsInPlaceAndTheFocusOnTheStartButton) {
    wchar_t caption[64] = {};
    GetWindowTextW(app.Main(), caption, 64);
    EXPECT_STREQ(caption, L"Orvandel");
    RECT client{};
    GetClientRect(app.Main(), &client);
    const UINT dpi = GetDpiForWindow(app.Main());
    const char* setup = std::getenv("ORVANDEL_WINE_SETUP");
    if (setup != nullptr && std::string_view(setup).ends_with("-144dpi")) {
        ASSERT_EQ(dpi, 144u) << "the Wine set-up did not give the scaling asked for";
    }
    EXPECT_EQ(client.right, MulDiv(5160, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(2910, dpi, 1440));

    struct Expected {
        int id;
        const wchar_t* className;
        const wchar_t* text;
        int container;
        int left, top, width, height;  // twips
    };
    const Expected controls[] = {
        {kFrame1, L"Button", L"文件名", 0, 120, 600, 4935, 735},
        {kText1, L"Edit", L"C:\\1.cpp", kFrame1, 240, 240, 3495, 375},
        {kCommand2, L"Button", L"浏览(&B)...", kFrame1, 3720, 240, 1095, 375},
        {kFrame2, L"Button", L"保存目录", 0, 120, 1440, 4935, 735},
        {kText2, L"Edit", L"C:\\", kFrame2, 240, 240, 3495, 375},
        {kCommand5, L"Button", L"浏览(&B)...", kFrame2, 3720, 240, 1095, 375},
        {kCommand1, L"Button", L"开始处理", 0, 1200, 2400, 1215, 375},
        {kCommand4, L"Button", L"退出", 0, 2760, 2400, 1095, 375},
    };
    for (const Expected& c : controls) {
        const HWND control = Control(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        wchar_t className[32] = {};
        GetClassNameW(control, className, 32);
        EXPECT_STREQ(className, c.className) << c.id;
        EXPECT_EQ(app.Text(control), c.text) << c.id;
        const RECT rect =
            RelativeRect(control, c.container ? Control(c.container) : nullptr, app.Main());
        const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
        EXPECT_EQ(rect.left, px(c.left)) << c.id;
        EXPECT_EQ(rect.top, px(c.top)) << c.id;
        EXPECT_EQ(rect.right - rect.left, px(c.width)) << c.id;
        EXPECT_EQ(rect.bottom - rect.top, px(c.height)) << c.id;
    }
    const LONG frameStyle = GetWindowLongW(Control(kFrame1), GWL_STYLE) & BS_TYPEMASK;
    EXPECT_EQ(frameStyle, BS_GROUPBOX);
    EXPECT_EQ(app.Text(Control(kLabel1)), L"Orvandel");

    EXPECT_EQ(app.FocusedControl(), Control(kCommand1));
    // Tab order: Command1, Text1, Command2, Command4, Text2, Command5, and round again.
    HWND at = Control(kCommand1);
    for (int id : {kText1, kCommand2, kCommand4, kText2, kCommand5, kCommand1}) {
        at = GetNextDlgTabItem(app.Main(), at, FALSE);
        EXPECT_EQ(GetDlgCtrlID(at), id);
    }
    const LONG style = GetWindowLongW(app.Main(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
}

TEST_F(WindowTest, SaveFolderIsNormalisedWhenTheFocusLeavesIt) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* normalised;
    };
    for (const Case& c : {Case{L"  D:\\out  ", L"D:\\out\\"}, Case{L"D:\\out\\", L"D:\\out\\"},
                          Case{L"", L"\\"}, Case{L"\t D:\\x", L"\t D:\\x\\"}}) {
        app.SetText(Control(kText2), c.typed);
        app.Focus(Control(kText2));
        app.Focus(Control(kCommand4));
        EXPECT_TRUE(WaitFor([&] { return app.Text(Control(kText2)) == c.normalised; }, 3000))
            << "typed «" << EncodeUtf8(c.typed) << "» shows «"
            << EncodeUtf8(app.Text(Control(kText2))) << "»";
    }
    app.SetText(Control(kText1), L"  a.c  ");
    app.Focus(Control(kText1));
    app.Focus(Control(kCommand4));
    EXPECT_EQ(app.Text(Control(kText1)), L"  a.c  ");
}

TEST_F(WindowTest, FullRunShowsEachStageAndSavesTheResult) {
    const Path source = folder.Write(L"sample.c", kGbkSource);
    std::filesystem::create_directories(folder.Root() / "out");
    const StageTexts& shown = GetACP() == 936 ? kShownUnder936 : kShownUnder1252;
    app.SetText(Control(kText1), source);
    // The folder typed without its backslash: leaving the field adds it before the run reads it.
    app.SetText(Control(kText2), L" " + folder.PathOf(L"out"));
    app.Focus(Control(kText2));
    app.Focus(Control(kCommand1));
    app.Click(Control(kCommand1));

    SeenPrompt prompt = ExpectPrompt(L"未处理前的文件", shown.source, {IDOK}, L"none");
    EXPECT_FALSE(Command1Enabled());
    app.Answer(prompt, IDOK);
    prompt = ExpectPrompt(L"第一步，去除“//”", shown.afterLineComments, {IDOK}, L"none");
    EXPECT_FALSE(Command1Enabled());
    app.Answer(prompt, IDOK);
    prompt = ExpectPrompt(L"第二步，去除“/**/”", shown.afterBlockComments, {IDOK}, L"none");
    EXPECT_TRUE(Command1Enabled());
    app.Answer(prompt, IDOK);
    const Path output = folder.PathOf(L"out\\sample.c");
    prompt = ExpectPrompt(L"Orvandel", L"保存成功！ 是否打开该文件？\r\n\r\n" + output,
                          {IDYES, IDNO}, L"information");
    EXPECT_TRUE(Command1Enabled());
    EXPECT_EQ(ReadBytes(output), kGbkResult);
    app.Answer(prompt, IDNO);

    EXPECT_TRUE(app.OtherWindows().empty());
    EXPECT_EQ(app.Text(Control(kText1)), source);
    EXPECT_TRUE(Command1Enabled());
    EXPECT_EQ(ReadBytes(source), kGbkSource);
}

TEST_F(WindowTest, MissingSourceIsReportedAndNothingElseHappens) {
    app.SetText(Control(kText1), folder.PathOf(L"missing.c"));
    app.SetText(Control(kText2), folder.Root().wstring() + L"\\");
    app.Click(Control(kCommand1));
    const SeenPrompt prompt = ExpectPrompt(L"Orvandel", L"要处理的文件不存在", {IDOK}, L"none");
    EXPECT_TRUE(Command1Enabled());
    app.Answer(prompt, IDOK);
    EXPECT_EQ(app.WaitForPrompt(300).window, nullptr);
    EXPECT_EQ(ListFolder(folder.Root()), L"");
}

TEST_F(WindowTest, SaveIntoAMissingFolderIsReportedWithoutAnOffer) {
    const Path source = folder.Write(L"a.c", "int a; // x\r\n");
    const Path missing = folder.PathOf(L"nowhere") + L"\\";
    app.SetText(Control(kText1), source);
    app.SetText(Control(kText2), missing);
    app.Click(Control(kCommand1));
    ASSERT_TRUE(app.AcceptStages());
    const SeenPrompt failure =
        ExpectPrompt(L"Orvandel", L"保存失败！\r\n\r\n" + missing + L"a.c", {IDOK}, L"exclamation");
    app.Answer(failure, IDOK);
    EXPECT_EQ(app.WaitForPrompt(300).window, nullptr);
    EXPECT_FALSE(std::filesystem::exists(folder.Root() / "nowhere"));
}

// A source too long for a message box: 40 lines of 128 characters.
std::string LongSource() {
    std::string source;
    for (int i = 0; i < 40; ++i) {
        source += "int value" + std::to_string(i) + " = " + std::string(120, '7') + ";\r\n";
    }
    return source;
}

TEST_F(WindowTest, LongTextIsShownWholeInTheViewer) {
    const std::string source = LongSource();
    const std::wstring expected(source.begin(), source.end() - 2);
    app.SetText(Control(kText1), folder.Write(L"long.c", source));
    app.SetText(Control(kText2), folder.Root().wstring() + L"\\");
    app.Click(Control(kCommand1));
    const SeenPrompt prompt = app.WaitForPrompt();
    ASSERT_NE(prompt.window, nullptr);
    EXPECT_TRUE(prompt.viewer);
    EXPECT_EQ(prompt.title, L"未处理前的文件");
    EXPECT_EQ(prompt.text, expected);
    EXPECT_EQ(prompt.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(IsWindowEnabled(app.Main())) << "the viewer is modal";
    app.Answer(prompt, IDOK);
    for (int stage = 0; stage < 2; ++stage) {
        const SeenPrompt next = app.WaitForPrompt();
        ASSERT_NE(next.window, nullptr);
        EXPECT_TRUE(next.viewer);
        app.Answer(next, IDOK);
    }
    const SeenPrompt offer = app.WaitForPrompt();
    ASSERT_NE(offer.window, nullptr);
    EXPECT_FALSE(offer.viewer);
    app.Answer(offer, IDNO);
}

TEST_F(WindowTest, TheViewerOpensWithinTheWorkAreaWhenTheWindowIsInACorner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(app.Main(), MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    SetWindowPos(app.Main(), nullptr, work.right - 120, work.bottom - 80, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntilIdle());
    const SeenPrompt viewer =
        StartRun(folder.Write(L"long.c", LongSource()), folder.Root().wstring() + L"\\");
    ASSERT_TRUE(viewer.viewer);
    RECT frame{};
    GetWindowRect(viewer.window, &frame);
    EXPECT_GE(frame.left, work.left);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LE(frame.bottom, work.bottom);
    app.Answer(viewer, IDOK);
}

// UI Automation's client functions, from the system folder: mingw-w64 has no import library.
template <typename Function>
Function* Automation(const char* name) {
    static const HMODULE module =
        LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TEST_F(WindowTest, UiAutomationFindsTheViewersTextAsAnEditNamedByTheTitle) {
    using Node = void*;
    const auto nodeFromHandle = Automation<HRESULT WINAPI(HWND, Node*)>("UiaNodeFromHandle");
    const auto property =
        Automation<HRESULT WINAPI(Node, PROPERTYID, VARIANT*)>("UiaGetPropertyValue");
    const auto release = Automation<BOOL WINAPI(Node)>("UiaNodeRelease");
    ASSERT_TRUE(nodeFromHandle && property && release);
    const ComInitialisation com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    const SeenPrompt viewer =
        StartRun(folder.Write(L"long.c", LongSource()), folder.Root().wstring() + L"\\");
    ASSERT_TRUE(viewer.viewer);
    Node text = nullptr;
    ASSERT_EQ(nodeFromHandle(GetDlgItem(viewer.window, kTextViewerEditId), &text), S_OK);
    const auto read = [&](PROPERTYID id) {
        VARIANT value{};
        property(text, id, &value);
        std::wstring shown = value.vt == VT_BSTR
                                 ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal))
                             : value.vt == VT_I4   ? std::to_wstring(value.lVal)
                             : value.vt == VT_BOOL ? (value.boolVal ? L"true" : L"false")
                                                   : L"<" + std::to_wstring(value.vt) + L">";
        VariantClear(&value);
        return shown;
    };
    EXPECT_EQ(read(UIA_ControlTypePropertyId), L"50004") << "not an edit control";
    EXPECT_EQ(read(UIA_NamePropertyId), L"未处理前的文件");
    EXPECT_EQ(read(UIA_IsKeyboardFocusablePropertyId), L"true");
    // (Wine 8 reads no pattern's properties, such as the Value pattern's text: the window's unit
    // tests read that in the program's own process.)
    release(text);
    app.Answer(viewer, IDOK);
}

// Runs the source through every stage and answers Yes to the offer to open the result.
void RunAndOpen(Driver& app, const Path& source, const Path& saveFolder) {
    app.SetText(app.Control(kText1), source);
    app.SetText(app.Control(kText2), saveFolder);
    app.Click(app.Control(kCommand1));
    ASSERT_TRUE(app.AcceptStages());
    const SeenPrompt offer = app.WaitForPrompt();
    ASSERT_EQ(offer.buttons, (std::vector<int>{IDYES, IDNO}));
    app.Answer(offer, IDYES);
}

TEST_F(WindowTest, YesOpensTheWrittenFileWithItsApplication) {
    const Path record = folder.PathOf(L"record.txt");
    RegisterRecordingFileType(L".orvtest", record);
    std::filesystem::create_directories(folder.Root() / "out");
    RunAndOpen(app, folder.Write(L"code.orvtest", "int a; // x\r\n"),
               folder.PathOf(L"out") + L"\\");
    EXPECT_EQ(WaitForRecord(record), folder.PathOf(L"out\\code.orvtest"));
}

TEST_F(WindowTest, AResultWithAPathOverMaxPathOpensToo) {
    const Path record = folder.PathOf(L"record.txt");
    RegisterRecordingFileType(L".orvtest", record);
    Path deep = folder.Root().wstring();
    while (deep.size() < 280) {
        deep += L"\\" + std::wstring(40, L'd');
    }
    std::filesystem::create_directories(std::filesystem::path(LongPathForm(deep)));
    RunAndOpen(app, folder.Write(L"code.orvtest", "int a; // x\r\n"), deep + L"\\");
    const Path opened = WaitForRecord(record);
    ASSERT_FALSE(opened.empty()) << "the result was not opened";
    std::ifstream in(std::filesystem::path(LongPathForm(opened)), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "int a; \r\n")
        << "opened: " << EncodeUtf8(opened);
}

TEST_F(WindowTest, AWrittenProgramIsShownInNotepadNotRun) {
    // Were the result run, it would leave a marker file behind.
    const Path marker = folder.PathOf(L"ran.txt");
    const std::string script =
        "@echo off\r\necho ran > \"" + std::string(marker.begin(), marker.end()) + "\"\r\n";
    std::filesystem::create_directories(folder.Root() / "out");
    RunAndOpen(app, folder.Write(L"tool.bat", script), folder.PathOf(L"out") + L"\\");
    HWND notepad = nullptr;
    std::wstring caption;
    // Notepad names the file in its caption once it has loaded it.
    EXPECT_TRUE(WaitFor([&] {
        notepad = FindWindowW(L"Notepad", nullptr);
        wchar_t text[256] = {};
        GetWindowTextW(notepad, text, 256);
        caption = text;
        return caption.find(L"tool.bat") != std::wstring::npos;
    })) << "Notepad's caption: "
        << std::string(caption.begin(), caption.end());
    PostMessageW(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return FindWindowW(L"Notepad", nullptr) == nullptr; }));
    EXPECT_FALSE(std::filesystem::exists(OsPath(marker)));
}

// A key as the keyboard delivers it: posted to the control with the focus, through the program's
// message loop and its dialog manager.
void PressKey(HWND focused, WPARAM key, bool alt = false) {
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const LPARAM flags = alt ? (1 << 29) : 0;  // the context code: Alt is held
    PostMessageW(focused, down, key, flags | 1);
    PostMessageW(focused, alt ? WM_SYSKEYUP : WM_KEYUP, key, flags | 1 | (3u << 30));
}

TEST_F(WindowTest, EnterAndEscapeActOnlyOnAFocusedButton) {
    app.SetText(Control(kText1), folder.PathOf(L"missing.c"));
    app.Focus(Control(kText1));
    PressKey(Control(kText1), VK_RETURN);
    PressKey(Control(kText1), VK_ESCAPE);
    EXPECT_EQ(app.WaitForPrompt(500).window, nullptr) << "Enter in a field started a run";
    EXPECT_TRUE(IsWindow(app.Main())) << "Esc closed the window";

    app.Focus(Control(kCommand1));
    PressKey(Control(kCommand1), VK_RETURN);
    const SeenPrompt prompt = app.WaitForPrompt();
    ASSERT_NE(prompt.window, nullptr) << "Enter on the start button did not start a run";
    EXPECT_EQ(prompt.text, L"要处理的文件不存在");
    app.Answer(prompt, IDOK);
}

TEST_F(WindowTest, TabWalksTheTabOrderAndLeavingTheSaveFolderNormalisesIt) {
    app.SetText(Control(kText2), L"  D:\\x  ");
    app.Focus(Control(kCommand1));
    for (int id : {kText1, kCommand2, kCommand4, kText2, kCommand5, kCommand1}) {
        PressKey(app.FocusedControl(), VK_TAB);
        EXPECT_TRUE(WaitFor([&] { return app.FocusedControl() == Control(id); }, 3000)) << id;
    }
    EXPECT_EQ(app.Text(Control(kText2)), L"D:\\x\\");
}

TEST_F(WindowTest, TheViewerAnswersEnterAndEscapeLikeAMessageBox) {
    std::string source;
    for (int i = 0; i < 40; ++i) {
        source += "int line" + std::to_string(i) + ";\r\n";
    }
    app.SetText(Control(kText1), folder.Write(L"keys.c", source));
    app.SetText(Control(kText2), folder.Root().wstring() + L"\\");
    app.Click(Control(kCommand1));
    for (const WPARAM key : {VK_RETURN, VK_ESCAPE, VK_RETURN}) {
        const SeenPrompt stage = app.WaitForPrompt();
        ASSERT_TRUE(stage.viewer);
        // The default button has the focus, as in a message box.
        const HWND focused = app.FocusedControl();
        EXPECT_EQ(GetDlgCtrlID(focused), IDOK);
        PressKey(focused, key);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(stage.window); }, 3000)) << "key " << key;
    }
    const SeenPrompt offer = app.WaitForPrompt();
    ASSERT_NE(offer.window, nullptr);
    app.Answer(offer, IDNO);
}

TEST_F(WindowTest, AltBMovesBetweenTheTwoBrowseButtonsInTabOrder) {
    // A path with '&' in a field carries no access key.
    app.SetText(Control(kText2), L"D:\\R&B\\");
    app.Focus(Control(kCommand1));
    PressKey(Control(kCommand1), 'B', true);
    EXPECT_TRUE(WaitFor([&] { return app.FocusedControl() == Control(kCommand2); }, 3000));
    PressKey(Control(kCommand2), 'B', true);
    EXPECT_TRUE(WaitFor([&] { return app.FocusedControl() == Control(kCommand5); }, 3000));
    // From a control without the key, the next carrier after it in tab order.
    app.Focus(Control(kCommand4));
    PressKey(Control(kCommand4), 'B', true);
    EXPECT_TRUE(WaitFor([&] { return app.FocusedControl() == Control(kCommand5); }, 3000));
    EXPECT_EQ(app.WaitForPrompt(300).window, nullptr) << "a shared access key must not click";
}

TEST_F(WindowTest, DroppingAFileOrAFolderFillsTheMatchingField) {
    const Path source = folder.Write(L"dropped.c", "int a;\r\n");
    ASSERT_TRUE(app.DropFile(source));
    EXPECT_TRUE(WaitFor([&] { return app.Text(Control(kText1)) == source; }, 3000));
    EXPECT_EQ(app.Text(Control(kText2)), L"C:\\");

    ASSERT_TRUE(app.DropFile(folder.Root().wstring()));
    EXPECT_TRUE(WaitFor(
        [&] { return app.Text(Control(kText2)) == folder.Root().wstring() + L"\\"; }, 3000));
    EXPECT_EQ(app.Text(Control(kText1)), source);
    EXPECT_EQ(app.WaitForPrompt(300).window, nullptr) << "a drop must not start anything";
}

TEST_F(WindowTest, ExitButtonEndsTheProgram) {
    app.Click(Control(kCommand4));
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace
