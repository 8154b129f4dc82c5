// Faults and hostile input in the real program: each ends with a clear message where the user
// must know, the program still running, and no file lost or half-written.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "files/long_path_win32.h"
#include "files/mdlPub.h"
#include "files/unique_handle_win32.h"
#include "tests/window/program_fixture.h"

namespace {

class FaultsTest : public ProgramTest {
  protected:
    void ExpectSourceMissing(const std::wstring& source) {
        const SeenPrompt prompt = StartRun(source, folder.Root().wstring() + L"\\");
        EXPECT_EQ(prompt.text, L"要处理的文件不存在");
        app.Answer(prompt, IDOK);
        EXPECT_TRUE(Command1Enabled());
    }
    // Runs through the stages and expects the save to fail with its message and no offer.
    void ExpectSaveFailure(const std::wstring& source, const std::wstring& saveFolder,
                           const std::wstring& output) {
        const SeenPrompt failure = RunToTheEnd(source, saveFolder);
        EXPECT_EQ(failure.text, L"保存失败！\r\n\r\n" + output);
        EXPECT_EQ(failure.icon, L"exclamation");
        app.Answer(failure, IDOK);
        EXPECT_EQ(app.WaitForPrompt(300).window, nullptr);
        EXPECT_TRUE(IsWindow(app.Main()));
    }
    // Runs through every stage and answers No to the offer; returns the offer's text.
    std::wstring OfferOfARun(const std::wstring& source, const std::wstring& saveFolder) {
        const SeenPrompt offer = RunToTheEnd(source, saveFolder);
        app.Answer(offer, IDNO);
        return offer.window != nullptr ? offer.text : L"<no offer>";
    }
};

TEST_F(FaultsTest, SourcesThatCannotBeReadAreReportedMissing) {
    ExpectSourceMissing(L"");
    ExpectSourceMissing(folder.Root().wstring());
    // Locked by another program that shares it with no one.
    const Path locked = folder.Write(L"locked.c", "int a;\r\n");
    {
        const UniqueFileHandle lock(CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock.Valid());
        ExpectSourceMissing(locked);
    }
    EXPECT_EQ(ReadBytes(locked), "int a;\r\n");
}

TEST_F(FaultsTest, OutputsThatCannotBeWrittenKeepTheirContents) {
    const Path source = folder.Write(L"a.c", "int a; // x\r\n");
    std::filesystem::create_directories(folder.Root() / "out");
    const Path out = folder.PathOf(L"out") + L"\\";

    const Path readOnly = folder.Write(L"out\\a.c", "old");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    ExpectSaveFailure(source, out, readOnly);
    EXPECT_EQ(ReadBytes(readOnly), "old");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    {
        const UniqueFileHandle lock(CreateFileW(readOnly.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock.Valid());
        ExpectSaveFailure(source, out, readOnly);
    }
    EXPECT_EQ(ReadBytes(readOnly), "old");

    // A folder of the output's name, and a save "folder" that is a file.
    std::filesystem::create_directories(folder.Root() / "dir" / "a.c");
    ExpectSaveFailure(source, folder.PathOf(L"dir") + L"\\", folder.PathOf(L"dir\\a.c"));
    ExpectSaveFailure(source, source + L"\\", source + L"\\a.c");
    EXPECT_EQ(ReadBytes(source), "int a; // x\r\n");
    EXPECT_EQ(ListFolder(folder.Root() / "out"), L"a.c;") << "a temporary file was left behind";
}

TEST_F(FaultsTest, AForwardSlashPathIsRunAndTheSaveFailsClearly) {
    // The file exists, but only the backslash separates: the whole path becomes the file name.
    std::wstring slashed = folder.Write(L"fwd.c", "x // y\r\n");
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    const Path out = folder.PathOf(L"out") + L"\\";
    std::filesystem::create_directories(folder.Root() / "out");
    ExpectSaveFailure(slashed, out, out + slashed);
}

TEST_F(FaultsTest, NamesOutsideTheCodePageAndLongPathsWork) {
    // Characters that neither 936 nor 1252 has.
    const Path source =
        folder.Write(L"\u0928\u092e\u0938\u094d\u0924\u0947 \U0001F600.c", "int a; // x\r\n");
    std::filesystem::create_directories(folder.Root() / L"\u00e9\u4e2d\u0416");
    const Path out = folder.PathOf(L"\u00e9\u4e2d\u0416") + L"\\";
    EXPECT_EQ(OfferOfARun(source, out),
              L"保存成功！ 是否打开该文件？\r\n\r\n" + out + mdlPub::FileNameOf(source));
    EXPECT_EQ(ReadBytes(out + mdlPub::FileNameOf(source)), "int a; \r\n");

    // A source and a save folder deeper than MAX_PATH.
    Path deep = folder.Root().wstring();
    for (int i = 0; i < 5; ++i) {
        deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'k' + i));
    }
    ASSERT_TRUE(std::filesystem::create_directories(LongPathForm(deep)));
    const Path deepSource = deep + L"\\deep.c";
    {
        std::ofstream(std::filesystem::path(LongPathForm(deepSource)), std::ios::binary)
            << "int deep; /* c */\r\n";
    }
    ASSERT_GT(deepSource.size(), 300u);
    EXPECT_EQ(OfferOfARun(deepSource, deep + L"\\"),
              L"保存成功！ 是否打开该文件？\r\n\r\n" + deep + L"\\deep.c");
    std::ifstream in(std::filesystem::path(LongPathForm(deepSource)), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "int deep; \r\n");
}

TEST_F(FaultsTest, ADropDuringARunChangesNeitherTheFieldNorTheFileProcessed) {
    const Path source = folder.Write(L"shown.c", "int shown; // a\r\n");
    const Path other = folder.Write(L"other.c", "int other;\r\n");
    std::filesystem::create_directories(folder.Root() / "out");
    const SeenPrompt before = StartRun(source, folder.PathOf(L"out") + L"\\");
    ASSERT_EQ(before.text, L"int shown; // a");
    ASSERT_TRUE(app.DropFile(other));
    EXPECT_FALSE(WaitFor([&] { return app.Text(Control(kText1)) != source; }, 1000))
        << "the drop replaced the source during the run";
    app.Answer(before, IDOK);
    const SeenPrompt firstPass = app.WaitForPrompt();
    EXPECT_EQ(firstPass.text, L"int shown; ");
    app.Answer(firstPass, IDOK);
    app.Answer(app.WaitForPrompt(), IDOK);
    const SeenPrompt offer = app.WaitForPrompt();
    EXPECT_EQ(offer.text, L"保存成功！ 是否打开该文件？\r\n\r\n" + folder.PathOf(L"out\\shown.c"));
    app.Answer(offer, IDNO);
    // Once the run is over, drops work again.
    ASSERT_TRUE(app.DropFile(other));
    EXPECT_TRUE(WaitFor([&] { return app.Text(Control(kText1)) == other; }, 3000));
}

// The text Notepad shows once it has opened a file, or empty when none came within the time; the
// Notepad is ended either way.
std::wstring TextInNotepad(const Driver& app) {
    HWND notepad = nullptr;
    std::wstring text;
    WaitFor([&] {
        notepad = FindWindowW(L"Notepad", nullptr);
        text =
            notepad != nullptr ? app.Text(FindWindowExW(notepad, nullptr, L"Edit", nullptr)) : L"";
        return !text.empty();
    });
    DWORD process = 0;
    GetWindowThreadProcessId(notepad, &process);
    if (const HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process)) {
        TerminateProcess(handle, 0);
        WaitForSingleObject(handle, 5000);
        CloseHandle(handle);
    }
    return text;
}

// A relative save folder lies in the program's current folder; Notepad, which shows a written
// script, starts in another.
TEST(RelativeSaveFolder, TheResultOpensByItsFullPath) {
    TempFolder folder;
    const Path source = folder.Write(L"rel.bat", "@echo off // quiet\r\n");
    std::filesystem::create_directories(folder.Root() / "out");
    wchar_t testFolder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, testFolder);
    SetCurrentDirectoryW(folder.Root().c_str());
    Driver app;
    const bool started = app.Start();
    SetCurrentDirectoryW(testFolder);
    ASSERT_TRUE(started);
    app.SetText(app.Control(kText1), source);
    app.SetText(app.Control(kText2), L"out\\");
    app.Click(app.Control(kCommand1));
    ASSERT_TRUE(app.AcceptStages());
    const SeenPrompt offer = app.WaitForPrompt();
    ASSERT_EQ(offer.text, L"保存成功！ 是否打开该文件？\r\n\r\nout\\rel.bat");
    app.Answer(offer, IDYES);
    EXPECT_EQ(TextInNotepad(app), L"@echo off \r\n");
}

}  // namespace

namespace {

// Runs `contents` in a build of the program in which every allocation over 256 KiB fails: the
// user is told once, nothing is written and the program goes on.
void ExpectOutOfMemoryReported(const std::string& contents) {
    TempFolder folder;
    const Path source = folder.Write(L"big.c", contents);
    std::filesystem::create_directories(folder.Root() / "out");
    Driver app;
    ASSERT_TRUE(app.Start(ProgramPath(L"tests\\orvandel_failing_allocations.exe")));
    app.SetText(app.Control(kText1), source);
    app.SetText(app.Control(kText2), folder.PathOf(L"out") + L"\\");
    app.Click(app.Control(kCommand1));
    const SeenPrompt prompt = app.WaitForPrompt();
    EXPECT_EQ(prompt.text, L"内存不足，无法处理该文件！");
    EXPECT_FALSE(prompt.viewer);
    EXPECT_EQ(prompt.icon, L"exclamation");
    EXPECT_EQ(prompt.title, L"Orvandel");
    EXPECT_TRUE(IsWindowEnabled(app.Control(kCommand1)));
    app.Answer(prompt, IDOK);
    EXPECT_EQ(app.WaitForPrompt(300).window, nullptr);
    EXPECT_EQ(ListFolder(folder.Root() / "out"), L"");
    EXPECT_TRUE(IsWindow(app.Main())) << "the program must keep running";
}

TEST(OutOfMemory, IsReportedAndNothingIsWritten) {
    ExpectOutOfMemoryReported(std::string(1 << 20, 'x') + "\r\n");
}

// 40,000 short lines fit every buffer of the run, but not the text viewer's table of where its
// lines start.
TEST(OutOfMemory, InTheViewerIsReportedOnceAndTheProgramGoesOn) {
    std::string lines;
    for (int i = 0; i < 40000; ++i) {
        lines += "a\r\n";
    }
    ExpectOutOfMemoryReported(lines);
}

// The failing-allocation build with a save folder too long to copy, left for the start button: its
// normalising fails outside any run. Returns the prompt that follows.
SeenPrompt LeaveAHugeSaveFolder(Driver& app) {
    if (!app.Start(ProgramPath(L"tests\\orvandel_failing_allocations.exe"))) {
        return {};
    }
    app.SetText(app.Control(kText2), std::wstring(140000, L'd'));
    app.Focus(app.Control(kText2));
    app.Focus(app.Control(kCommand1));
    return app.WaitForPrompt(5000);
}

TEST(OutOfMemory, LeavingTheSaveFolderIsReportedAndTheProgramGoesOn) {
    Driver app;
    const SeenPrompt prompt = LeaveAHugeSaveFolder(app);
    ASSERT_NE(prompt.window, nullptr) << "the failure was not reported";
    EXPECT_EQ(prompt.icon, L"exclamation");
    EXPECT_EQ(prompt.title, L"Orvandel");
    app.Answer(prompt, IDOK);
    EXPECT_EQ(app.WaitForPrompt(300).window, nullptr);
    DWORD_PTR length = 0;
    SendMessageTimeoutW(app.Control(kText2), WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length);
    EXPECT_EQ(length, 140000u) << "the field changed";
    EXPECT_TRUE(IsWindow(app.Main())) << "the program must keep running";
}

TEST(OutOfMemory, OutsideARunTheMessageDoesNotSpeakOfTheFile) {
    Driver app;
    const SeenPrompt prompt = LeaveAHugeSaveFolder(app);
    EXPECT_EQ(prompt.text, L"内存不足，无法完成该操作！");
    app.Answer(prompt, IDOK);
}

}  // namespace
