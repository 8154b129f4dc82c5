// `orvandel-cli exhibit`: what it takes from the command line and what it says back.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/cli_run.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class Recorder : public Console {
  public:
    bool IsTerminal(Stream) override { return false; }
    void WriteText(Stream stream, std::string_view utf8) override { WriteBytes(stream, utf8); }
    bool WriteBytes(Stream stream, std::string_view bytes) override {
        (stream == Stream::Out ? out : err).append(bytes);
        return true;
    }
    std::string out, err;
};

int RunExhibit(const std::vector<std::string>& arguments, Recorder& console) {
    std::vector<NativeString> native = {NativeString(fs::path("exhibit").native())};
    for (const std::string& argument : arguments) {
        native.push_back(fs::u8path(argument).native());
    }
    return RunCli(native, console);
}

TEST(ExhibitCommand, BadUsageIsToldWithTheUsage) {
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"--version", "1", "src"}, "--name and --version are both needed"},
        {{"--name", "N", "--version", "1"}, "no project folder"},
        {{"--name", "N", "--version", "1", "--lines-per-page", "49", "src"}, "50 or more"},
        {{"--name", "N", "--version", "1", "--lines-per-page", "5x", "src"}, "50 or more"},
        {{"--name", "N", "--version", "1", "--colour", "red", "src"}, "unknown option --colour"},
        {{"--name", "N", "--version"}, "--version needs a value"},
    };
    for (const auto& c : cases) {
        Recorder console;
        EXPECT_EQ(RunExhibit(c.arguments, console), kExitBadUsage) << c.message;
        EXPECT_NE(console.err.find(c.message), std::string::npos) << console.err;
        EXPECT_NE(console.err.find("usage: orvandel-cli exhibit"), std::string::npos);
    }
}

TEST(ExhibitCommand, MakesTheDocumentsAndSaysWhatItMade) {
    const TempFolder folder;
    fs::create_directories(folder.Root() / "src");
    std::ofstream(folder.Root() / "src/a.c") << "int a; // one\n\nint b;\n";
    const fs::path pdf = folder.Root() / "out.pdf";
    Recorder console;
    const std::u8string root = (folder.Root() / "src").u8string(), out = pdf.u8string();
    EXPECT_EQ(
        RunExhibit({"--name", "软件", "--version", "V1", "-o", std::string(out.begin(), out.end()),
                    std::string(root.begin(), root.end())},
                   console),
        kExitDone)
        << console.err;
    EXPECT_NE(console.out.find("1 files, 2 lines, 1 pages"), std::string::npos) << console.out;
    EXPECT_TRUE(fs::exists(pdf));
    EXPECT_TRUE(fs::exists(folder.Root() / "out.txt"));

    Recorder failing;
    EXPECT_EQ(
        RunExhibit({"--name", "N", "--version", "1", std::string(out.begin(), out.end()) + "-none"},
                   failing),
        kExitSomeFailed);
    EXPECT_NE(failing.err.find("out.pdf-none"), std::string::npos) << failing.err;
}

}  // namespace
