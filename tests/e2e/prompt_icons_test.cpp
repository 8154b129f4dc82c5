// Which standard icon each prompt shows, told apart exactly: the information icon of the offer
// is not the question mark, the save failure's is the exclamation mark, and the others have none.
#include "tests/e2e/real_input.h"
#include "tests/window/program_fixture.h"

namespace {

using PromptIconsTest = ProgramTest;

TEST_F(PromptIconsTest, EachPromptShowsItsOwnIcon) {
    const SeenPrompt missing = StartRun(folder.PathOf(L"missing.c"), folder.PathOf(L""));
    ASSERT_EQ(missing.text, L"要处理的文件不存在");
    EXPECT_EQ(missing.icon, L"none") << "P1";
    ASSERT_TRUE(app.Answer(missing, IDOK));

    const Path source = folder.Write(L"a.c", "int a; // x\r\n");
    const char* const stages[] = {"P2", "P3", "P4"};
    SeenPrompt prompt = StartRun(source, folder.PathOf(L""));
    for (const char* stage : stages) {
        ASSERT_NE(prompt.window, nullptr) << stage;
        EXPECT_EQ(prompt.icon, L"none") << stage;
        ASSERT_TRUE(app.Answer(prompt, IDOK));
        prompt = app.WaitForPrompt();
    }
    ASSERT_EQ(prompt.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(prompt.icon, L"information") << "P5";
    ASSERT_TRUE(app.Answer(prompt, IDNO));

    const SeenPrompt failure = RunToTheEnd(source, folder.PathOf(L"nowhere\\"));
    ASSERT_EQ(failure.text, L"保存失败！\r\n\r\n" + folder.PathOf(L"nowhere\\a.c"));
    EXPECT_EQ(failure.icon, L"exclamation");
    ASSERT_TRUE(app.Answer(failure, IDOK));
}

}  // namespace
