// Where the keyboard focus is when the window becomes active again: after a prompt has been
// answered, and after the user has worked in another program. A dialog puts it back on the control
// that had it; the window must do the same, or Enter stops working after a prompt and a save
// folder typed before switching away reaches the run without its backslash.
#include "tests/e2e/real_input.h"
#include "tests/window/program_fixture.h"

namespace {

// A window of this process that takes the foreground, as another program does when the user
// switches to it.
class OtherProgramWindow {
  public:
    OtherProgramWindow() {
        window_ =
            CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 800,
                            700, 240, 120, nullptr, nullptr, nullptr, nullptr);
    }
    ~OtherProgramWindow() { DestroyWindow(window_); }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

    bool TakeTheForeground() const {
        SetForegroundWindow(window_);
        return WaitFor([this] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            return GetForegroundWindow() == window_;
        });
    }

  private:
    HWND window_ = nullptr;
};

class FocusReturnTest : public ProgramTest {
  protected:
    // Once the last prompt has gone, the focus is back on the start button, so Enter starts the
    // next run as it started the one before.
    void ExpectEnterStartsAnotherRun(const char* after) {
        EXPECT_TRUE(WaitFor([&] { return app.FocusedControl() == Control(kCommand1); }, 3000))
            << "the focus is on the control of id " << GetDlgCtrlID(app.FocusedControl())
            << " (0: the window itself)";
        PressKeys({VK_RETURN});
        const SeenPrompt again = app.WaitForPrompt(3000);
        EXPECT_NE(again.window, nullptr) << "Enter " << after << " did nothing";
        if (again.window != nullptr) {
            app.Answer(again, IDOK);
        }
    }
};

TEST_F(FocusReturnTest, FocusGoesBackToTheStartButtonWhenAPromptIsAnswered) {
    app.SetText(Control(kText1), folder.PathOf(L"missing.c"));
    ASSERT_EQ(app.FocusedControl(), Control(kCommand1));
    PressKeys({VK_RETURN});
    const SeenPrompt missing = app.WaitForPrompt();
    ASSERT_EQ(missing.text, L"要处理的文件不存在");
    PressKeys({VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(missing.window); }));
    ExpectEnterStartsAnotherRun("after the prompt");
}

// Command1 is disabled while it has the focus during a run, which takes the focus from it; once the
// run is over the keyboard still works on it.
TEST_F(FocusReturnTest, FocusGoesBackToTheStartButtonAfterAWholeRun) {
    const Path source = folder.Write(L"a.c", "int a; // x\r\n");
    app.SetText(Control(kText1), source);
    app.SetText(Control(kText2), folder.PathOf(L""));
    ASSERT_EQ(app.FocusedControl(), Control(kCommand1));
    PressKeys({VK_RETURN});
    for (const char* stage : {"P2", "P3", "P4"}) {
        const SeenPrompt prompt = app.WaitForPrompt();
        ASSERT_NE(prompt.window, nullptr) << stage;
        PressKeys({VK_RETURN});
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(prompt.window); })) << stage;
    }
    const SeenPrompt offer = app.WaitForPrompt();
    ASSERT_EQ(offer.buttons, (std::vector<int>{IDYES, IDNO}));
    PressKeys({'N'});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(offer.window); }));
    ExpectEnterStartsAnotherRun("after the run");
}

TEST_F(FocusReturnTest, FolderTypedBeforeSwitchingProgramsStillGetsItsBackslash) {
    const Path source = folder.Write(L"a.c", "int a;\r\n");
    std::filesystem::create_directories(folder.Root() / "out");
    app.SetText(Control(kText1), source);
    ASSERT_TRUE(ClickWithMouse(Control(kText2)));
    ASSERT_TRUE(WaitFor([&] { return app.FocusedControl() == Control(kText2); }));
    PressKeys({VK_END});
    PressKeys({VK_SHIFT, VK_HOME});
    TypeText(folder.PathOf(L"out"));
    ASSERT_TRUE(WaitFor([&] { return app.Text(Control(kText2)) == folder.PathOf(L"out"); }));

    // The user looks at another program, then comes back with a click on the start button.
    OtherProgramWindow other;
    ASSERT_TRUE(other.TakeTheForeground());
    ASSERT_TRUE(ClickWithMouse(Control(kCommand1)));
    ASSERT_TRUE(app.AcceptStages());
    const SeenPrompt offer = app.WaitForPrompt();
    EXPECT_EQ(offer.text, L"保存成功！ 是否打开该文件？\r\n\r\n" + folder.PathOf(L"out\\a.c"));
    EXPECT_EQ(app.Text(Control(kText2)), folder.PathOf(L"out") + L"\\");
    app.Answer(offer, offer.buttons.size() == 2 ? IDNO : IDOK);
    EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\a.c")), "int a;\r\n");
}

}  // namespace
