// The two options of the window's system menu and its About box: the registry that keeps the
// options for the next start, and what they do to a run. (Their check marks are checked in the
// program's own process, by the window's unit tests: a menu cannot be read from here under Wine.)
#include <gtest/gtest.h>

#include "files/mdlPub.h"
#include "files/utf8.h"
#include "tests/window/program_fixture.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Orvandel";

// Each test starts with nothing remembered and leaves nothing behind for the other tests.
class OptionsTest : public ProgramTest {
  protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        ProgramTest::SetUp();
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

    // Chooses an item of the system menu, as a click on it does.
    static void Choose(const Driver& program, unsigned id) {
        PostMessageW(program.Main(), WM_SYSCOMMAND, id, 0);
    }
    static DWORD Stored(const wchar_t* name) {
        DWORD value = 99;
        DWORD size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size);
        return value;
    }
    // The text after the first pass and the saved bytes of a run, answering No to the offer.
    std::pair<std::wstring, std::string> Run(Driver& program, const Path& source) {
        program.SetText(program.Control(kText1), source);
        program.SetText(program.Control(kText2), folder.PathOf(L"out") + L"\\");
        program.Click(program.Control(kCommand1));
        program.Answer(program.WaitForPrompt(), IDOK);
        const SeenPrompt firstPass = program.WaitForPrompt();
        program.Answer(firstPass, IDOK);
        program.Answer(program.WaitForPrompt(), IDOK);
        program.Answer(program.WaitForPrompt(), IDNO);
        return {firstPass.text, ReadBytes(folder.PathOf(L"out\\") + mdlPub::FileNameOf(source))};
    }
};

TEST_F(OptionsTest, ItemsAreRememberedAndShapeTheRun) {
    std::filesystem::create_directories(folder.Root() / "out");
    const Path source =
        folder.Write(L"a.c", "/* MIT */\r\nchar* u = \"http://x\"; // y\r\nint/**/b;\r\n");
    EXPECT_EQ(Run(app, source).second, "char* u = \"http:\r\nintb;\r\n");

    Choose(app, kMenuLiteralsId);
    Choose(app, kMenuKeepHeaderId);
    EXPECT_TRUE(WaitFor([] { return Stored(L"Literals") == 1 && Stored(L"KeepHeader") == 1; }))
        << Stored(L"Literals") << " " << Stored(L"KeepHeader");

    // A new start finds both on, and the run keeps the string and the header.
    app.Click(Control(kCommand4));
    ASSERT_TRUE(app.WaitForExit());
    Driver again;
    ASSERT_TRUE(again.Start());
    const auto [firstPass, saved] = Run(again, source);
    EXPECT_EQ(firstPass, L"/* MIT */\r\nchar* u = \"http://x\";\r\nint/**/b;");
    EXPECT_EQ(saved, "/* MIT */\r\nchar* u = \"http://x\";\r\nint b;\r\n");

    Choose(again, kMenuLiteralsId);
    EXPECT_TRUE(WaitFor([] { return Stored(L"Literals") == 0; }));
}

TEST_F(OptionsTest, AboutShowsTheVersion) {
    Choose(app, kMenuAboutId);
    const SeenPrompt about = app.WaitForPrompt();
    EXPECT_EQ(about.title, L"关于 Orvandel");
    EXPECT_EQ(about.text.find(L"Orvandel " ORVANDEL_VERSION), 0u) << EncodeUtf8(about.text);
    EXPECT_EQ(about.icon, L"information");
    app.Answer(about, IDOK);
}

}  // namespace
