// Prompts too long for a message box, in the program's text viewer: answered with the keys a
// message box takes, the text copied whole, and the offer to open a file with its icon and its two
// answers.
#include "files/utf8.h"
#include "tests/e2e/real_input.h"
#include "tests/window/program_fixture.h"
#include "tests/window/recorder_file_type.h"

namespace {

class TextViewerTest : public ProgramTest {
  protected:
    // Input is handled in order, after the messages posted before it: once a key has moved the
    // focus, everything before it has been handled.
    bool KeyMovesTheFocusIn(const SeenPrompt& prompt, std::initializer_list<WORD> keys) const {
        const HWND before = app.FocusedControl();
        PressKeys(keys);
        return WaitFor(
            [&] {
                const HWND now = app.FocusedControl();
                return now != before && IsChild(prompt.window, now);
            },
            3000);
    }
    bool Gone(const SeenPrompt& prompt) const {
        return WaitFor([&] { return !IsWindow(prompt.window); }, 3000);
    }
    // A source whose every stage is too long for a message box: lines of 120 characters.
    Path WriteLongSource(const std::wstring& name) const {
        std::string source;
        for (int i = 0; i < 30; ++i) {
            source += "int value" + std::to_string(i) + " = " + std::string(120, '7') + ";\r\n";
        }
        return folder.Write(name, source);
    }
};

std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// The clipboard is opened only once the program has changed it: opened while the program copies,
// it would make the copy fail.
bool ClipboardBecomes(const std::wstring& text, DWORD sequenceBefore) {
    return WaitFor(
        [&] { return GetClipboardSequenceNumber() != sequenceBefore && ClipboardText() == text; },
        3000);
}

TEST_F(TextViewerTest, StagesAnswerToEnterEscAndTheMouseAndTheirTextCopiesWhole) {
    const SeenPrompt source = StartRun(WriteLongSource(L"long.c"), folder.Root().wstring() + L"\\");
    ASSERT_TRUE(source.viewer);
    EXPECT_EQ(source.icon, L"none");
    EXPECT_EQ(app.FocusedControl(), GetDlgItem(source.window, IDOK));
    EXPECT_TRUE(GetWindowLongW(source.window, GWL_STYLE) & WS_THICKFRAME) << "not resizable";
    PressKeys({VK_RETURN});
    ASSERT_TRUE(Gone(source)) << "Enter did not answer the viewer";

    const SeenPrompt firstPass = app.WaitForPrompt();
    ASSERT_TRUE(firstPass.viewer);
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(Gone(firstPass)) << "Esc did not answer an OK viewer";

    const SeenPrompt secondPass = app.WaitForPrompt();
    ASSERT_TRUE(secondPass.viewer);
    const DWORD clipboardBefore = GetClipboardSequenceNumber();
    ASSERT_TRUE(ClickWithMouse(GetDlgItem(secondPass.window, 100)));
    ASSERT_TRUE(
        WaitFor([&] { return app.FocusedControl() == GetDlgItem(secondPass.window, 100); }, 3000));
    PressKeys({VK_CONTROL, 'A'});
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(ClipboardBecomes(secondPass.text, clipboardBefore))
        << "the clipboard holds «" << EncodeUtf8(ClipboardText()) << "»";
    ASSERT_TRUE(ClickWithMouse(GetDlgItem(secondPass.window, IDOK)));
    ASSERT_TRUE(Gone(secondPass)) << "a click on OK did not answer the viewer";

    const SeenPrompt offer = app.WaitForPrompt();
    ASSERT_FALSE(offer.viewer);
    app.Answer(offer, IDNO);
}

TEST_F(TextViewerTest, CtrlAAndCtrlCCopyTheTextWhileTheFocusIsOnOk) {
    const SeenPrompt source = StartRun(WriteLongSource(L"long.c"), folder.Root().wstring() + L"\\");
    ASSERT_TRUE(source.viewer);
    ASSERT_EQ(app.FocusedControl(), GetDlgItem(source.window, IDOK));
    const DWORD clipboardBefore = GetClipboardSequenceNumber();
    PressKeys({VK_CONTROL, 'A'});
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(ClipboardBecomes(source.text, clipboardBefore))
        << "the clipboard holds «" << EncodeUtf8(ClipboardText()) << "»";
    EXPECT_EQ(app.FocusedControl(), GetDlgItem(source.window, IDOK));
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Gone(source));
}

TEST_F(TextViewerTest, ALongOfferShowsItsIconAndTakesOnlyYesOrNo) {
    const Path record = folder.PathOf(L"record.txt");
    RegisterRecordingFileType(L".orvyes", record);
    const Path saveFolder = folder.PathOf(std::wstring(90, L'd')) + L"\\";
    std::filesystem::create_directories(OsPath(saveFolder));
    const Path source = folder.Write(L"a.orvyes", "int a; // x\r\n");
    const Path output = saveFolder + L"a.orvyes";

    SeenPrompt offer = RunToTheEnd(source, saveFolder);
    ASSERT_NE(offer.window, nullptr);
    EXPECT_TRUE(offer.viewer);
    EXPECT_EQ(offer.title, L"Orvandel");
    EXPECT_EQ(offer.text, L"保存成功！ 是否打开该文件？\r\n\r\n" + output);
    EXPECT_EQ(offer.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(offer.icon, L"information");
    EXPECT_EQ(app.FocusedControl(), GetDlgItem(offer.window, IDYES));
    EXPECT_FALSE(IsWindowEnabled(app.Main())) << "the viewer must be modal";
    EXPECT_TRUE(Command1Enabled());

    // Neither Esc nor closing the window answers a Yes/No prompt.
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(KeyMovesTheFocusIn(offer, {VK_TAB}));
    EXPECT_TRUE(IsWindow(offer.window)) << "Esc dismissed a Yes/No viewer";
    PostMessageW(offer.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(KeyMovesTheFocusIn(offer, {VK_SHIFT, VK_TAB}));
    EXPECT_TRUE(IsWindow(offer.window)) << "closing dismissed a Yes/No viewer";
    ASSERT_EQ(app.FocusedControl(), GetDlgItem(offer.window, IDYES));

    // N answers No, as in a message box: nothing is opened.
    PressKeys({'N'});
    ASSERT_TRUE(Gone(offer)) << "N did not answer No";
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_FALSE(RecorderStarted(record)) << "No opened the file";
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    EXPECT_TRUE(app.OtherWindows().empty());

    // Enter answers Yes: the file opens with the application of its type.
    offer = RunToTheEnd(source, saveFolder);
    ASSERT_TRUE(offer.viewer);
    PressKeys({VK_RETURN});
    ASSERT_TRUE(Gone(offer)) << "Enter did not answer Yes";
    EXPECT_EQ(WaitForRecord(record), output);
}

TEST_F(TextViewerTest, ALongSaveFailureShowsTheExclamationIcon) {
    const Path source = folder.Write(L"a.c", "int a; // x\r\n");
    const Path missing = folder.PathOf(std::wstring(90, L'm')) + L"\\";
    const SeenPrompt failure = RunToTheEnd(source, missing);
    ASSERT_NE(failure.window, nullptr);
    EXPECT_TRUE(failure.viewer);
    EXPECT_EQ(failure.title, L"Orvandel");
    EXPECT_EQ(failure.text, L"保存失败！\r\n\r\n" + missing + L"a.c");
    EXPECT_EQ(failure.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(failure.icon, L"exclamation");
    PressKeys({VK_RETURN});
    ASSERT_TRUE(Gone(failure));
    EXPECT_EQ(ListFolder(folder.Root()), L"a.c;");
}

}  // namespace
