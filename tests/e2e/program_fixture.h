// The base of the end-to-end tests here: the real program started in the foreground, a scratch
// folder, and the steps every test takes to start a run.
#pragma once

#include <gtest/gtest.h>

#include "tests/e2e/real_input.h"
#include "tests/temp_folder.h"
#include "tests/window/driver.h"
#include "ui/control_ids.h"

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(app.Start()) << "orvandel.exe did not show its window";
        ASSERT_TRUE(BringToFront(app.Main())) << "the window did not come to the foreground";
    }

    HWND Control(int id) const { return app.Control(id); }
    bool Command1Enabled() const { return IsWindowEnabled(Control(kCommand1)) != FALSE; }

    // Returns once the program's thread has handled everything sent or posted to it before.
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

    // Starts a run, answers OK to its three stages and returns the prompt that ends it: the offer
    // to open the written file or the save failure.
    SeenPrompt RunToTheEnd(const Path& source, const Path& saveFolder) {
        app.SetText(Control(kText1), source);
        app.SetText(Control(kText2), saveFolder);
        app.Click(Control(kCommand1));
        if (!app.AcceptStages()) {
            return {};
        }
        return app.WaitForPrompt();
    }

    TempFolder folder;
    Driver app;
};
