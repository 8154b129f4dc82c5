// The base of every test of the real program: orvandel.exe started in the foreground, a scratch
// folder, and the steps the tests take to start and finish a run.
#pragma once

#include <gtest/gtest.h>

#include "tests/temp_folder.h"
#include "tests/window/driver.h"
#include "ui/control_ids.h"

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(app.Start()) << "orvandel.exe did not show its window";
        SetForegroundWindow(app.Main());
        ASSERT_TRUE(WaitFor([this] { return GetForegroundWindow() == app.Main(); }, 5000))
            << "the window did not come to the foreground";
    }

    HWND Control(int id) const { return app.Control(id); }
    bool Command1Enabled() const { return IsWindowEnabled(Control(kCommand1)) != FALSE; }

    // Returns once the program's thread has handled everything sent to it before.
    bool WaitUntilIdle() const {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(app.Main(), WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored) != 0;
    }

    // Fills both fields and clicks Command1; returns the first prompt of the run.
    SeenPrompt StartRun(const Path& source, const Path& saveFolder) {
        app.SetText(Control(kText1), source);
        app.SetText(Control(kText2), saveFolder);
        app.Click(Control(kCommand1));
        return app.WaitForPrompt();
    }

    // Starts a run, answers OK to its three stages and returns the prompt that ends it, still
    // open: the offer to open the written file or the save failure.
    SeenPrompt RunToTheEnd(const Path& source, const Path& saveFolder) {
        app.SetText(Control(kText1), source);
        app.SetText(Control(kText2), saveFolder);
        app.Click(Control(kCommand1));
        return app.AcceptStages() ? app.WaitForPrompt() : SeenPrompt{};
    }

    // The next prompt must be there, with this title, text, buttons and icon.
    SeenPrompt ExpectPrompt(const std::wstring& title, const std::wstring& text,
                            const std::vector<int>& buttons, const std::wstring& icon) {
        SeenPrompt prompt = app.WaitForPrompt();
        EXPECT_NE(prompt.window, nullptr) << "no prompt came";
        EXPECT_EQ(prompt.title, title);
        EXPECT_EQ(prompt.text, text);
        EXPECT_EQ(prompt.buttons, buttons);
        EXPECT_EQ(prompt.icon, icon);
        return prompt;
    }

    TempFolder folder;
    Driver app;
};
