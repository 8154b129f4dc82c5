// The window under real keyboard and mouse input: the tab order as the Tab key walks it, the save
// folder normalised when the focus leaves it, and the ways of closing the window.
#include "tests/e2e/real_input.h"
#include "tests/window/program_fixture.h"

namespace {

class KeyboardAndMouseTest : public ProgramTest {
  protected:
    bool FocusReaches(int id) const {
        return WaitFor([&] { return app.FocusedControl() == Control(id); }, 3000);
    }
    // Replaces a field's text as a person does: click into it, select everything, type.
    bool TypeInto(int id, const std::wstring& text) const {
        if (!ClickWithMouse(Control(id)) || !FocusReaches(id)) {
            return false;
        }
        PressKeys({VK_END});
        PressKeys({VK_SHIFT, VK_HOME});
        if (text.empty()) {
            PressKeys({VK_DELETE});
        } else {
            TypeText(text);
        }
        return WaitFor([&] { return app.Text(Control(id)) == text; }, 3000);
    }
};

TEST_F(KeyboardAndMouseTest, TabAndShiftTabWalkTheTabOrder) {
    ASSERT_TRUE(FocusReaches(kCommand1));
    for (int id : {kText1, kCommand2, kCommand4, kText2, kCommand5, kCommand1}) {
        PressKeys({VK_TAB});
        EXPECT_TRUE(FocusReaches(id)) << "Tab should reach " << id << ", the focus is on "
                                      << GetDlgCtrlID(app.FocusedControl());
    }
    for (int id : {kCommand5, kText2, kCommand4, kCommand2, kText1, kCommand1}) {
        PressKeys({VK_SHIFT, VK_TAB});
        EXPECT_TRUE(FocusReaches(id)) << "Shift+Tab should reach " << id << ", the focus is on "
                                      << GetDlgCtrlID(app.FocusedControl());
    }
}

TEST_F(KeyboardAndMouseTest, SaveFolderIsNormalisedWhenTabOrAClickLeavesIt) {
    ASSERT_TRUE(TypeInto(kText2, L"  D:\\out  "));
    PressKeys({VK_TAB});
    ASSERT_TRUE(FocusReaches(kCommand5));
    EXPECT_EQ(app.Text(Control(kText2)), L"D:\\out\\");

    ASSERT_TRUE(TypeInto(kText2, L"D:\\out\\"));
    ASSERT_TRUE(ClickWithMouse(Control(kText1)));
    ASSERT_TRUE(FocusReaches(kText1));
    EXPECT_EQ(app.Text(Control(kText2)), L"D:\\out\\");

    ASSERT_TRUE(TypeInto(kText2, L""));
    PressKeys({VK_SHIFT, VK_TAB});
    ASSERT_TRUE(FocusReaches(kCommand4));
    EXPECT_EQ(app.Text(Control(kText2)), L"\\");

    // Only the plain space is trimmed.
    ASSERT_TRUE(TypeInto(kText2, L"\u3000D:\\\u6587\u4ef6 "));
    PressKeys({VK_TAB});
    ASSERT_TRUE(FocusReaches(kCommand5));
    EXPECT_EQ(app.Text(Control(kText2)), L"\u3000D:\\\u6587\u4ef6\\");

    // The source field keeps what was typed.
    ASSERT_TRUE(TypeInto(kText1, L"  a.c  "));
    PressKeys({VK_TAB});
    ASSERT_TRUE(FocusReaches(kCommand2));
    ASSERT_TRUE(ClickWithMouse(Control(kText2)));
    ASSERT_TRUE(FocusReaches(kText2));
    ASSERT_TRUE(ClickWithMouse(Control(kText1)));
    ASSERT_TRUE(FocusReaches(kText1));
    EXPECT_EQ(app.Text(Control(kText1)), L"  a.c  ");
}

TEST_F(KeyboardAndMouseTest, FolderTypedBeforeAClickOnStartReachesTheRunWithItsBackslash) {
    const Path source = folder.Write(L"typed.c", "int a; // x\r\n");
    std::filesystem::create_directories(folder.Root() / "out");
    app.SetText(Control(kText1), source);
    ASSERT_TRUE(TypeInto(kText2, L" " + folder.PathOf(L"out") + L"  "));
    ASSERT_TRUE(ClickWithMouse(Control(kCommand1)));
    ASSERT_TRUE(app.AcceptStages());
    const SeenPrompt offer = app.WaitForPrompt();
    EXPECT_EQ(offer.text, L"保存成功！ 是否打开该文件？\r\n\r\n" + folder.PathOf(L"out\\typed.c"));
    EXPECT_EQ(app.Text(Control(kText2)), folder.PathOf(L"out") + L"\\");
    app.Answer(offer, IDNO);
    EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\typed.c")), "int a; \r\n");
}

TEST_F(KeyboardAndMouseTest, AltF4EndsTheProgram) {
    PressKeys({VK_MENU, VK_F4});
    EXPECT_TRUE(app.WaitForExit(5000));
}

TEST_F(KeyboardAndMouseTest, TheCloseBoxEndsTheProgram) {
    TITLEBARINFO title{};
    title.cbSize = sizeof title;
    ASSERT_TRUE(GetTitleBarInfo(app.Main(), &title));
    EXPECT_FALSE(title.rgstate[5] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE));
    // The close box is the last of the caption's buttons, at the right end of the title bar.
    const POINT closeBox{title.rcTitleBar.right - GetSystemMetrics(SM_CXSIZE) / 2,
                         (title.rcTitleBar.top + title.rcTitleBar.bottom) / 2};
    ASSERT_EQ(WindowFromPoint(closeBox), app.Main());
    ASSERT_TRUE(ClickAtScreenPoint(closeBox.x, closeBox.y));
    EXPECT_TRUE(app.WaitForExit(5000));
}

TEST_F(KeyboardAndMouseTest, MinimisingLeavesTheProgramRunning) {
    PostMessageW(app.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(app.Main()) != FALSE; }, 3000));
    EXPECT_TRUE(WaitUntilIdle());
    EXPECT_FALSE(app.WaitForExit(0));
    PostMessageW(app.Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(app.Main()) == FALSE; }, 3000));
}

}  // namespace
