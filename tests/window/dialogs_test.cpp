// The browse buttons: the open-file dialog and the folder browser of the real program.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/window/program_fixture.h"
#include "ui/control_ids.h"

namespace {

constexpr int kFileNameField = 0x47C;  // the open dialog's file name box
constexpr int kFileTypeList = 0x470;   // the open dialog's file type list

class DialogsTest : public ProgramTest {
  protected:
    HWND OpenFileDialog() {
        app.Click(Control(kCommand2));
        return app.WaitForDialog(L"选择文件");
    }
    HWND OpenFolderBrowser() {
        app.Click(Control(kCommand5));
        const HWND browser = app.WaitForDialog(L"");
        // The title text stands above the tree once the browser has filled itself in.
        WaitFor([&] { return FindChildWithText(browser, L"选择保存位置") != nullptr; }, 5000);
        return browser;
    }
    bool Gone(HWND dialog) const {
        return WaitFor([&] { return !IsWindow(dialog); });
    }
};

TEST_F(DialogsTest, OpenDialogOffersCFilesFirstAndPicksAnExistingFile) {
    const Path source = folder.Write(L"picked.cpp", "int a;\r\n");
    const HWND dialog = OpenFileDialog();
    ASSERT_NE(dialog, nullptr);
    const HWND types = GetDlgItem(dialog, kFileTypeList);
    EXPECT_EQ(
        app.ComboItems(types),
        (std::vector<std::wstring>{L"C类文件(*.c;*.cpp;*.h;*.hpp;*.java)", L"所有文件(*.*)"}));
    EXPECT_EQ(SendMessageW(types, CB_GETCURSEL, 0, 0), 0);
    app.SetText(GetDlgItem(dialog, kFileNameField), source);
    app.Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(app.Text(Control(kText1)), source);
}

TEST_F(DialogsTest, OpenDialogRefusesAMissingFileAndCancelChangesNothing) {
    const HWND dialog = OpenFileDialog();
    ASSERT_NE(dialog, nullptr);
    app.SetText(GetDlgItem(dialog, kFileNameField), folder.PathOf(L"missing.cpp"));
    app.Click(GetDlgItem(dialog, IDOK));
    // The dialog says the file does not exist, in a message box of its own, and stays open.
    const bool complained = WaitFor([&] {
        for (HWND window : app.OtherWindows()) {
            if (GetWindow(window, GW_OWNER) == dialog) {
                app.Click(GetDlgItem(window, IDOK));
                return true;
            }
        }
        return false;
    });
    EXPECT_TRUE(complained);
    EXPECT_TRUE(IsWindow(dialog));
    app.Click(GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(app.Text(Control(kText1)), L"C:\\1.cpp");
}

TEST_F(DialogsTest, FolderBrowserSetsTheSaveFolderWithABackslash) {
    std::filesystem::create_directories(folder.Root() / "chosen");
    HWND browser = OpenFolderBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_NE(FindChildWithText(browser, L"选择保存位置"), nullptr);
    app.Click(GetDlgItem(browser, IDCANCEL));
    ASSERT_TRUE(Gone(browser));
    EXPECT_EQ(app.Text(Control(kText2)), L"C:\\");

    browser = OpenFolderBrowser();
    ASSERT_TRUE(app.SelectFolder(browser, folder.PathOf(L"chosen")));
    app.Click(GetDlgItem(browser, IDOK));
    ASSERT_TRUE(Gone(browser));
    EXPECT_EQ(app.Text(Control(kText2)), folder.PathOf(L"chosen") + L"\\");
}

TEST_F(DialogsTest, RunFromPickedPathsWritesIntoTheChosenFolder) {
    const Path source = folder.Write(L"run.c", "int a; // gone\r\n");
    std::filesystem::create_directories(folder.Root() / "out");
    const HWND dialog = OpenFileDialog();
    ASSERT_NE(dialog, nullptr);
    app.SetText(GetDlgItem(dialog, kFileNameField), source);
    app.Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(Gone(dialog));
    const HWND browser = OpenFolderBrowser();
    ASSERT_TRUE(app.SelectFolder(browser, folder.PathOf(L"out")));
    app.Click(GetDlgItem(browser, IDOK));
    ASSERT_TRUE(Gone(browser));

    app.Click(Control(kCommand1));
    ASSERT_TRUE(app.AcceptStages());
    const SeenPrompt offer = app.WaitForPrompt();
    EXPECT_EQ(offer.text, L"保存成功！ 是否打开该文件？\r\n\r\n" + folder.PathOf(L"out\\run.c"));
    app.Answer(offer, IDNO);
    EXPECT_EQ(ReadBytes(folder.PathOf(L"out\\run.c")), "int a; \r\n");
}

TEST_F(DialogsTest, ADriveRootGetsADoubledBackslashAndStillWorks) {
    const HWND browser = OpenFolderBrowser();
    ASSERT_TRUE(app.SelectFolder(browser, L"C:\\"));
    app.Click(GetDlgItem(browser, IDOK));
    ASSERT_TRUE(Gone(browser));
    EXPECT_EQ(app.Text(Control(kText2)), L"C:\\\\");

    // A doubled backslash saves as a single one would; in the scratch folder, not in C:\.
    const Path doubled = folder.PathOf(L"") + L"\\";
    const SeenPrompt offer = RunToTheEnd(folder.Write(L"root.c", "x; /* y */\r\n"), doubled);
    EXPECT_EQ(offer.text, L"保存成功！ 是否打开该文件？\r\n\r\n" + doubled + L"root.c");
    app.Answer(offer, IDNO);
    EXPECT_EQ(ReadBytes(folder.PathOf(L"root.c")), "x; \r\n");
}

TEST_F(DialogsTest, ANotepadInThePickedFilesFolderIsNeverStarted) {
    // The open dialog leaves the program in the picked file's folder, beside this notepad.exe.
    const Path fake = folder.PathOf(L"notepad.exe");
    ASSERT_TRUE(CopyFileW(ProgramPath(L"tests\\open_recorder.exe").c_str(), fake.c_str(), TRUE));
    const Path source = folder.Write(L"tool.bat", "@echo off\r\n");
    const HWND dialog = OpenFileDialog();
    ASSERT_NE(dialog, nullptr);
    app.SetText(GetDlgItem(dialog, kFileNameField), source);
    app.Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(Gone(dialog));
    std::filesystem::create_directories(folder.Root() / "out");
    app.SetText(Control(kText2), folder.PathOf(L"out") + L"\\");
    app.Click(Control(kCommand1));
    ASSERT_TRUE(app.AcceptStages());
    app.Answer(app.WaitForPrompt(), IDYES);
    HWND notepad = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (notepad = FindWindowW(L"Notepad", nullptr)) != nullptr; }))
        << "the system's Notepad did not open the result";
    PostMessageW(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return FindWindowW(L"Notepad", nullptr) == nullptr; }));
    EXPECT_FALSE(std::filesystem::exists(OsPath(fake + L".ran")))
        << "the notepad.exe in the current folder was started";
}

}  // namespace
