#include "processing/processing_run.h"

#include <gtest/gtest.h>

#include <random>

#include "files/utf8.h"
#include "tests/fake_host.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class ProcessingRunTest : public ::testing::Test {
  protected:
    // The save folder as the window hands it over: with its trailing backslash.
    Path SaveFolder(const std::wstring& name) const {
        fs::create_directories(folder.Root() / name);
        return folder.PathOf(name) + L"\\";
    }

    static void ExpectPrompt(const RecordedPrompt& seen, const DisplayText& text,
                             PromptButtons buttons, PromptIcon icon, const DisplayText& title,
                             bool command1Enabled) {
        EXPECT_EQ(seen.prompt.text, text);
        EXPECT_EQ(seen.prompt.buttons, buttons);
        EXPECT_EQ(seen.prompt.icon, icon);
        EXPECT_EQ(seen.prompt.title, title);
        EXPECT_EQ(seen.command1Enabled, command1Enabled);
    }

    TempFolder folder;
};

TEST_F(ProcessingRunTest, ShowsEveryStageSavesAndOpensOnYes) {
    const Path source =
        folder.Write(L"main.c", "int a; // one\r\n\r\n/* two */\r\nint b; /* three */ int c;\r\n");
    const Path out = SaveFolder(L"out");
    FakeHost host(source, out);
    host.AnswerYesNo({PromptAnswer::Yes});

    ProcessingRun(host);

    const auto& prompts = host.Prompts();
    ASSERT_EQ(prompts.size(), 4u);
    ExpectPrompt(prompts[0], u"int a; // one\r\n\r\n/* two */\r\nint b; /* three */ int c;",
                 PromptButtons::Ok, PromptIcon::None, u"未处理前的文件", false);
    ExpectPrompt(prompts[1], u"int a; \r\n/* two */\r\nint b; /* three */ int c;",
                 PromptButtons::Ok, PromptIcon::None, u"第一步，去除“//”", false);
    ExpectPrompt(prompts[2], u"int a; \r\nint b;  int c;", PromptButtons::Ok, PromptIcon::None,
                 u"第二步，去除“/**/”", true);
    const Path output = out + L"main.c";
    ExpectPrompt(prompts[3], u"保存成功！ 是否打开该文件？\r\n\r\n" + ToDisplayText(output),
                 PromptButtons::YesNo, PromptIcon::Information, u"Orvandel", true);
    EXPECT_EQ(ReadBytes(output), "int a; \r\nint b;  int c;\r\n");
    EXPECT_EQ(ReadBytes(source), "int a; // one\r\n\r\n/* two */\r\nint b; /* three */ int c;\r\n");
    EXPECT_EQ(host.Opened(), std::vector<Path>{output});
    EXPECT_TRUE(host.Command1Enabled());
}

TEST_F(ProcessingRunTest, TheOptionsShapeEveryStageAndTheSavedFile) {
    // Java by its extension: a text block is a literal there.
    const Path source = folder.Write(
        L"Url.java", "// License\r\nclass A { String u = \"http://x\"; /* c */ int/**/b; }\r\n");
    FakeHost host(source, SaveFolder(L"out"));
    host.options = {.literals = true, .keepHeader = true};
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 4u);
    EXPECT_EQ(host.Prompts()[1].prompt.text,
              u"// License\r\nclass A { String u = \"http://x\"; /* c */ int/**/b; }");
    EXPECT_EQ(host.Prompts()[2].prompt.text,
              u"// License\r\nclass A { String u = \"http://x\";  int b; }");
    EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\Url.java")),
              "// License\r\nclass A { String u = \"http://x\";  int b; }\r\n");
}

TEST_F(ProcessingRunTest, NoOnTheOfferOpensNothing) {
    const Path source = folder.Write(L"a.java", "class A {}\r\n");
    FakeHost host(source, SaveFolder(L"out"));
    host.AnswerYesNo({PromptAnswer::No});
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 4u);
    EXPECT_TRUE(host.Opened().empty());
    EXPECT_TRUE(host.Command1Enabled());
    EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\a.java")), "class A {}\r\n");
}

TEST_F(ProcessingRunTest, MissingSourceShowsOnlyTheFirstPrompt) {
    const Path out = SaveFolder(L"out");
    FakeHost host(folder.PathOf(L"missing.cpp"), out);
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 1u);
    ExpectPrompt(host.Prompts()[0], u"要处理的文件不存在", PromptButtons::Ok, PromptIcon::None,
                 u"Orvandel", true);
    EXPECT_TRUE(host.Command1Enabled());
    EXPECT_EQ(ListFolder(folder.Root() / "out"), L"");
    EXPECT_TRUE(host.Opened().empty());
}

TEST_F(ProcessingRunTest, FolderAsSourceIsReportedMissing) {
    FakeHost host(folder.Root().wstring(), SaveFolder(L"out"));
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 1u);
    EXPECT_EQ(host.Prompts()[0].prompt.text, u"要处理的文件不存在");
}

TEST_F(ProcessingRunTest, DefaultFieldsReplaceTheSourceWithTheResult) {
    // The built-in texts name the same folder twice: the output path is the source itself.
    const Path source = folder.Write(L"1.cpp", "int x; // c\r\n/* d */\r\nint y;\r\n");
    FakeHost host(source, folder.Root().wstring() + L"\\");
    host.AnswerYesNo({PromptAnswer::No});
    ProcessingRun(host);
    EXPECT_EQ(ReadBytes(source), "int x; \r\nint y;\r\n");
    EXPECT_EQ(ListFolder(folder.Root()), L"1.cpp;");
}

TEST_F(ProcessingRunTest, SourceWithoutBackslashIsSavedUnderItsWholeName) {
    // A relative source path: the file name is the whole path.
    folder.Write(L"rel.c", "x // y\r\n");
    const Path out = SaveFolder(L"out");
    FakeHost host(L"rel.c", out);
    host.AnswerYesNo({PromptAnswer::No});
    {
        const CurrentFolderChange inFolder(folder.Root());
        ProcessingRun(host);
    }
    ASSERT_EQ(host.Prompts().size(), 4u);
    EXPECT_EQ(host.Prompts()[3].prompt.text,
              u"保存成功！ 是否打开该文件？\r\n\r\n" + ToDisplayText(out + L"rel.c"));
    EXPECT_EQ(ReadBytes(out + L"rel.c"), "x \r\n");
}

TEST_F(ProcessingRunTest, SaveFailureIsReportedAndNothingIsOffered) {
    const Path source = folder.Write(L"a.c", "int a;\r\n");
    const Path missingFolder = folder.PathOf(L"nowhere") + L"\\";
    FakeHost host(source, missingFolder);
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 4u);
    ExpectPrompt(host.Prompts()[3], u"保存失败！\r\n\r\n" + ToDisplayText(missingFolder + L"a.c"),
                 PromptButtons::Ok, PromptIcon::Exclamation, u"Orvandel", true);
    EXPECT_TRUE(host.Opened().empty());
    EXPECT_FALSE(fs::exists(folder.Root() / "nowhere"));
}

TEST_F(ProcessingRunTest, SourceVanishingAfterTheCheckEndsTheRunWithAMessage) {
    // The host deletes the source while the first prompt is open, as another program might.
    class VanishingHost : public FakeHost {
      public:
        using FakeHost::FakeHost;
        PromptAnswer MessagePrompt(const Prompt& prompt) override {
            fs::remove(OsPath(Text1()));
            return FakeHost::MessagePrompt(prompt);
        }
    };
    const Path source = folder.Write(L"gone.c", "int a;\r\n");
    VanishingHost host(source, SaveFolder(L"out"));
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 2u);
    EXPECT_EQ(host.Prompts()[0].prompt.title, u"未处理前的文件");
    ExpectPrompt(host.Prompts()[1], u"不存在该文件或该文件不能访问！", PromptButtons::Ok,
                 PromptIcon::Exclamation, u"Orvandel", true);
    EXPECT_TRUE(host.Command1Enabled());
    EXPECT_EQ(ListFolder(folder.Root() / "out"), L"");
}

// An allocation failing in the middle of the run: while the prompt at `failingPrompt` is shown.
class ExhaustedHost : public FakeHost {
  public:
    ExhaustedHost(WideText text1, WideText text2, size_t failingPrompt)
        : FakeHost(std::move(text1), std::move(text2)), failingPrompt_(failingPrompt) {}
    PromptAnswer MessagePrompt(const Prompt& prompt) override {
        const PromptAnswer answer = FakeHost::MessagePrompt(prompt);
        if (Prompts().size() == failingPrompt_ + 1) {
            throw std::bad_alloc();
        }
        return answer;
    }

  private:
    size_t failingPrompt_;
};

TEST_F(ProcessingRunTest, RunningOutOfMemoryIsReportedAndWritesNothing) {
    const Path source = folder.Write(L"big.c", "int a;\r\n");
    ExhaustedHost host(source, SaveFolder(L"out"), 1);  // the first pass's prompt
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 3u);
    ExpectPrompt(host.Prompts()[2], u"内存不足，无法处理该文件！", PromptButtons::Ok,
                 PromptIcon::Exclamation, u"Orvandel", true);
    EXPECT_EQ(ListFolder(folder.Root() / "out"), L"");
    EXPECT_EQ(ReadBytes(source), "int a;\r\n");
}

TEST_F(ProcessingRunTest, RunningOutOfMemoryAfterTheSaveDoesNotDenyIt) {
    const Path source = folder.Write(L"big.c", "int a;\r\n");
    ExhaustedHost host(source, SaveFolder(L"out"), 3);  // the offer to open the result
    ProcessingRun(host);
    ASSERT_EQ(host.Prompts().size(), 5u);
    ExpectPrompt(host.Prompts()[4], u"保存成功！但内存不足，无法继续。", PromptButtons::Ok,
                 PromptIcon::Exclamation, u"Orvandel", true);
    EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\big.c")), "int a;\r\n");
}

TEST_F(ProcessingRunTest, RandomBytesSurviveExceptForCommentsBlankLinesAndLineEnds) {
    // Bytes from a set without '/', '*', CR, LF or space: nothing can be a marker or a line
    // end, so every byte must come through, in its lines.
    std::mt19937 random(12345);
    std::string line;
    std::string source;
    std::string expected;
    for (int l = 0; l < 200; ++l) {
        line.clear();
        const int length = 1 + static_cast<int>(random() % 80);
        for (int i = 0; i < length; ++i) {
            char c;
            do {
                c = static_cast<char>(random() % 256);
            } while (c == '/' || c == '*' || c == '\r' || c == '\n' || c == ' ');
            line.push_back(c);
        }
        source += line + (l % 3 == 0 ? "\n" : l % 3 == 1 ? "\r" : "\r\n");
        expected += line + "\r\n";
    }
    const Path path = folder.Write(L"random.bin", source);
    FakeHost host(path, SaveFolder(L"out"));
    host.AnswerYesNo({PromptAnswer::No});
    ProcessingRun(host);
    EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\random.bin")), expected);
}

// The language follows the file's name: CSS is always read by its own rules (the plain `//` scan
// would cut its `url(//…)`), JavaScript with the plain passes unless literals are on.
TEST_F(ProcessingRunTest, TheFilesNameChoosesHowItIsRead) {
    const struct {
        const wchar_t* name;
        bool literals;
        const char* expected;
    } cases[] = {
        {L"a.css", false, "a { b: url(//x); }\r\n"},
        {L"a.js", false, "r = /\\\r\n"},
        {L"a.js", true, "r = /\\//;\r\n"},
    };
    for (const auto& c : cases) {
        const bool css = std::wstring_view(c.name).ends_with(L".css");
        const Path source =
            folder.Write(c.name, css ? "a { b: url(//x); } /* c */\r\n" : "r = /\\//; // c\r\n");
        FakeHost host(source, SaveFolder(L"out"));
        host.options.literals = c.literals;
        host.AnswerYesNo({PromptAnswer::No});
        ProcessingRun(host);
        EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\") + c.name), c.expected);
    }
}

}  // namespace
