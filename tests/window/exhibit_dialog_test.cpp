// The exhibit dialog of the window's system menu: its choices, remembered; the work done behind a
// progress bar; the document offered and opened through the result's safe open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/utf8.h"
#include "tests/window/program_fixture.h"
#include "tests/window/recorder_file_type.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Orvandel";
constexpr wchar_t kCaption[] = L"生成软著源代码文档";

class ExhibitDialogTest : public ProgramTest {
  protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        ProgramTest::SetUp();
        std::filesystem::create_directories(folder.Root() / "project/src");
        std::ofstream(folder.Root() / "project/src/main.c")
            << "int main(void) { // entry\n    return 0;\n}\n";
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

    HWND OpenDialog() {
        PostMessageW(app.Main(), WM_SYSCOMMAND, kMenuExhibitId, 0);
        return app.WaitForDialog(kCaption);
    }

    // The message box the dialog shows at the end, with its text.
    std::pair<HWND, std::wstring> WaitForMessage(HWND dialog) {
        HWND box = nullptr;
        WaitFor(
            [&] {
                for (const HWND window : app.OtherWindows()) {
                    if (window != dialog && GetDlgItem(window, 0xFFFF) != nullptr) {
                        box = window;
                    }
                }
                return box != nullptr;
            },
            30000);
        return {box, box ? app.Text(GetDlgItem(box, 0xFFFF)) : L""};
    }

    std::wstring Stored(const wchar_t* name) {
        wchar_t value[256] = {};
        DWORD size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value, &size);
        return value;
    }
};

TEST_F(ExhibitDialogTest, MakesTheExhibitAndOpensItThroughTheSafeOpen) {
    const Path record = folder.PathOf(L"opened.txt");
    RegisterRecordingFileType(L".orvexh", record);
    const HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr) << "no exhibit dialog";
    const std::wstring output = folder.PathOf(L"exhibit.orvexh");
    app.SetText(GetDlgItem(dialog, 201), folder.PathOf(L"project"));
    app.SetText(GetDlgItem(dialog, 203), L"测试软件");
    app.SetText(GetDlgItem(dialog, 204), L"V2.0");
    app.SetText(GetDlgItem(dialog, 205), output);
    app.Click(GetDlgItem(dialog, IDOK));

    const auto [box, text] = WaitForMessage(dialog);
    ASSERT_NE(box, nullptr) << "no message at the end";
    EXPECT_NE(text.find(L"源程序量 3 行"), std::wstring::npos) << EncodeUtf8(text);
    EXPECT_NE(text.find(output), std::wstring::npos) << EncodeUtf8(text);
    app.Click(GetDlgItem(box, IDYES));
    EXPECT_EQ(WaitForRecord(record), output);
    EXPECT_TRUE(std::filesystem::exists(folder.Root() / "exhibit.txt"));
    EXPECT_EQ(Stored(L"ExhibitName"), L"测试软件");
    EXPECT_EQ(Stored(L"ExhibitVersion"), L"V2.0");

    // Opened again, the dialog shows what was chosen.
    app.Click(GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    const HWND again = OpenDialog();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(app.Text(GetDlgItem(again, 205)), output);
    app.Click(GetDlgItem(again, IDCANCEL));
}

TEST_F(ExhibitDialogTest, AMissingNameIsToldAndNothingIsWritten) {
    const HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    app.SetText(GetDlgItem(dialog, 201), folder.PathOf(L"project"));
    app.SetText(GetDlgItem(dialog, 205), folder.PathOf(L"exhibit.pdf"));
    app.Click(GetDlgItem(dialog, IDOK));
    const auto [box, text] = WaitForMessage(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(text.find(L"没有生成文档"), std::wstring::npos) << EncodeUtf8(text);
    EXPECT_FALSE(std::filesystem::exists(folder.Root() / "exhibit.pdf"));
    app.Click(GetDlgItem(box, IDOK));
    app.Click(GetDlgItem(dialog, IDCANCEL));
}

}  // namespace
