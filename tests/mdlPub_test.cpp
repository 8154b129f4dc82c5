#include "files/mdlPub.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/line_list.h"
#include "tests/fake_host.h"
#include "tests/temp_folder.h"

namespace {

using LineList = std::vector<std::string>;

TEST(ReadLine, EndsLinesAtCrCrLfAndLf) {
    EXPECT_EQ(ReadAllLines(""), LineList{});
    EXPECT_EQ(ReadAllLines("a"), LineList{"a"});
    EXPECT_EQ(ReadAllLines("a\r\n"), LineList{"a"});
    EXPECT_EQ(ReadAllLines("a\r\nb"), (LineList{"a", "b"}));
    EXPECT_EQ(ReadAllLines("a\rb\r"), (LineList{"a", "b"}));
    EXPECT_EQ(ReadAllLines("a\nb\n"), (LineList{"a", "b"}));
    EXPECT_EQ(ReadAllLines("\r\n\r\n"), (LineList{"", ""}));
    EXPECT_EQ(ReadAllLines("a\n\rb"), (LineList{"a", "", "b"}));
    EXPECT_EQ(ReadAllLines("a\r\r\nb"), (LineList{"a", "", "b"}));
    EXPECT_EQ(ReadAllLines("a\nb\nc\rd\re\r\nf\n\ng"),
              (LineList{"a", "b", "c", "d", "e", "f", "", "g"}));
    EXPECT_EQ(ReadAllLines(std::string("\0\r\0", 3)),
              (LineList{std::string(1, '\0'), std::string(1, '\0')}));
}

class RecordingPrompter : public Prompter {
  public:
    PromptAnswer MessagePrompt(const Prompt& prompt) override {
        prompts.push_back(prompt);
        return PromptAnswer::Ok;
    }
    std::vector<Prompt> prompts;
};

TEST(ReadTextForDisplay, EndsEveryLineButTheLastWithCrLf) {
    TempFolder folder;
    RecordingPrompter prompter;
    const auto display = [&](const std::string& bytes) {
        return mdlPub::ReadTextForDisplay(folder.Write(L"f.txt", bytes), prompter);
    };
    EXPECT_EQ(display(""), "");
    EXPECT_EQ(display("a\r\n\r\nb"), "a\r\n\r\nb");
    EXPECT_EQ(display("a\nb\n"), "a\r\nb");
    EXPECT_EQ(display("a\rb"), "a\r\nb");
    EXPECT_EQ(display("a\r\n\r\n"), "a\r\n");
    EXPECT_EQ(display("\xd6\xd0\r\n\xff"), "\xd6\xd0\r\n\xff");
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST(ReadTextForDisplay, TellsTheUserWhenTheFileCannotBeRead) {
    TempFolder folder;
    RecordingPrompter prompter;
    EXPECT_EQ(mdlPub::ReadTextForDisplay(folder.PathOf(L"missing.c"), prompter), "");
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text, u"不存在该文件或该文件不能访问！");
    EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompter.prompts[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(prompter.prompts[0].title, u"Orvandel");
}

TEST(FileExists, IsTrueOnlyForAReadableFile) {
    TempFolder folder;
    EXPECT_TRUE(mdlPub::FileExists(folder.Write(L"a.c", "x")));
    EXPECT_TRUE(mdlPub::FileExists(folder.Write(L"empty.c", "")));
    EXPECT_FALSE(mdlPub::FileExists(folder.PathOf(L"missing.c")));
    EXPECT_FALSE(mdlPub::FileExists(folder.Root().wstring()));
    EXPECT_FALSE(mdlPub::FileExists(folder.Root().wstring() + L"\\"));
    EXPECT_FALSE(mdlPub::FileExists(L""));
}

TEST(FileExists, HandlesUnicodeAndLongPaths) {
    TempFolder folder;
    EXPECT_TRUE(mdlPub::FileExists(folder.Write(L"\u4e2d\u6587 \u00e9\u03a9\U0001F600.c", "x")));
    Path deepPath = folder.Root().wstring();
    for (int i = 0; i < 6; ++i) {
        const std::wstring part(60, static_cast<wchar_t>(L'a' + i));
        deepPath += L"\\" + part;
    }
    std::filesystem::create_directories(OsPath(deepPath));
    ASSERT_GT(deepPath.size(), 300u);
    const Path file = deepPath + L"\\long.c";
    ASSERT_TRUE(mdlPub::SaveText(file, "int x;"));
    EXPECT_TRUE(mdlPub::FileExists(file));
    EXPECT_EQ(ReadBytes(file), "int x;\r\n");
}

TEST(PathSplitters, SplitAtTheLastBackslashOnly) {
    EXPECT_EQ(mdlPub::FileNameOf(L"C:\\src\\main.c"), L"main.c");
    EXPECT_EQ(mdlPub::FileNameOf(L"main.c"), L"main.c");
    EXPECT_EQ(mdlPub::FileNameOf(L"C:\\src\\"), L"");
    EXPECT_EQ(mdlPub::FileNameOf(L"C:/src/main.c"), L"C:/src/main.c");
    EXPECT_EQ(mdlPub::FileNameOf(L""), L"");
    EXPECT_EQ(mdlPub::FileNameOf(L"D:\\\\a.c"), L"a.c");
    EXPECT_EQ(mdlPub::DirectoryOf(L"C:\\src\\main.c"), L"C:\\src\\");
    EXPECT_EQ(mdlPub::DirectoryOf(L"main.c"), L"");
    EXPECT_EQ(mdlPub::DirectoryOf(L"\\"), L"\\");
    EXPECT_EQ(mdlPub::DirectoryOf(L"C:\\\u4e2d\\\u6587.c"), L"C:\\\u4e2d\\");
}

TEST(OpensInNotepad, KnowsWhatTheShellWouldRunAndWhatHasNoType) {
    const std::wstring pathext = L".COM;.EXE;.BAT;.CMD;.VBS;.JS";
    for (const wchar_t* name :
         {L"C:\\a.exe", L"a.EXE", L"C:\\x.y\\run.bat", L"a.js", L"a.lnk", L"a.Ps1", L"a.reg",
          L"a.url", L"a.msi", L"a.exe.", L"a.exe  ", L"a.jar", L"a.pyw", L"a.appref-ms",
          L"a.settingcontent-ms", L"a.wsc", L"noext", L"C:\\x.exe\\a", L"."}) {
        EXPECT_TRUE(mdlPub::OpensInNotepad(name, pathext)) << name;
    }
    for (const wchar_t* name : {L"C:\\a.cpp", L"a.c", L"a.txt", L"a.exec", L"a.ex", L"a.pyx"}) {
        EXPECT_FALSE(mdlPub::OpensInNotepad(name, pathext)) << name;
    }
    EXPECT_FALSE(mdlPub::OpensInNotepad(L"a.exe", L""));
    EXPECT_TRUE(mdlPub::OpensInNotepad(L"a.hta", L""));
}

}  // namespace
