// orvandel-cli run in-process on scratch trees, and the real program for Unicode and long paths.
#include "cli/cli_run.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "files/mdlPub.h"
#include "processing/comment_passes.h"
#include "tests/cli_program.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class RecordingConsole : public Console {
  public:
    bool IsTerminal(Stream) override { return false; }
    void WriteText(Stream stream, std::string_view utf8) override { WriteBytes(stream, utf8); }
    bool WriteBytes(Stream stream, std::string_view bytes) override {
        (stream == Stream::Out ? out : err).append(bytes);
        return true;
    }
    std::string out;
    std::string err;
};

// What the window saves for `source`: both passes, then SaveText's own bytes.
std::string WindowResult(const TempFolder& folder, const std::string& source,
                         const StripOptions& options = {}) {
    AnsiText text = source;
    StripLineCommentsInPlace(text, options);
    StripBlockCommentsInPlace(text, options);
    const Path saved = folder.PathOf(L"window-result");
    EXPECT_TRUE(mdlPub::SaveText(saved, text));
    return ReadBytes(saved);
}

// A path as the program prints it.
std::string Shown(const fs::path& path) {
    return Utf8Of(path.native());
}

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from)) {
        result.append(text.substr(0, at)).append(to);
        text.remove_prefix(at + from.size());
    }
    return result.append(text);
}

// Every file below `root`, path and contents, in a stable order.
std::map<std::string, std::string> TreeContents(const fs::path& root) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            contents[fs::relative(entry.path(), root).generic_string()] = {
                std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        }
    }
    return contents;
}

constexpr char kSource[] =
    "/* header */\r\nint a; // one\r\n\r\n  /* two\r\n */\r\nint b = 1 /* three */ + 2;\r\n";

class CliTest : public ::testing::Test {
  protected:
    int Run(const std::vector<fs::path>& arguments) {
        console_ = RecordingConsole();
        std::vector<NativeString> native;
        for (const auto& argument : arguments) {
            native.push_back(argument.native());
        }
        return RunCli(native, console_);
    }
    fs::path Root() const { return folder_.Root(); }
    void Write(const fs::path& relative, const std::string& bytes) const {
        fs::create_directories((Root() / relative).parent_path());
        std::ofstream(Root() / relative, std::ios::binary) << bytes;
    }
    std::string Read(const fs::path& relative) const {
        std::ifstream in(Root() / relative, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : kMissingFile;
    }

    TempFolder folder_;
    RecordingConsole console_;
};

TEST_F(CliTest, BadUsageExits64AndTouchesNoFile) {
    Write("src/a.c", kSource);
    Write("src/b.c", kSource);
    const fs::path src = Root() / "src";
    const fs::path out = Root() / "out";
    const std::vector<std::vector<fs::path>> mistakes = {
        {},
        {"--frobnicate", src},
        {"-o", out, "-i", src},
        {"-o"},
        {src / "a.c", src / "b.c"},
        {src},
        {"-j", "0", "-o", out, src},
        {"--jobs=many", "-o", out, src},
        {"--eol", "cr", "-o", out, src},
        {"--ext", "c,,h", "-o", out, src},
        {"-o", src, src},
        {"-q=yes", "-o", out, src},
        {"--lang", "cobol", src / "a.c"},
        {"-", src / "a.c"},
        {"-"},
        {"--lang", "go", "-o", out, "-"},
    };
    for (const auto& arguments : mistakes) {
        EXPECT_EQ(Run(arguments), kExitBadUsage) << console_.err;
        EXPECT_NE(console_.err.find("usage: orvandel-cli"), std::string::npos);
        EXPECT_EQ(console_.out, "");
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(TreeContents(Root()),
              (std::map<std::string, std::string>{{"src/a.c", kSource}, {"src/b.c", kSource}}));
}

TEST_F(CliTest, ATreeIsMirroredWithTheWindowsBytesForTheChosenExtensions) {
    Write("src/top.c", kSource);
    Write("src/deep/er/Mixed.HPP", "x; // y\r\n");
    Write("src/deep/App.java", "class A {} /* j */\r\n");
    Write("src/notes.txt", kSource);
    Write("src/deep/make.inc", kSource);
    ASSERT_EQ(Run({"-o", Root() / "out", Root() / "src"}), kExitDone) << console_.err;
    EXPECT_EQ(TreeContents(Root() / "out"),
              (std::map<std::string, std::string>{
                  {"top.c", WindowResult(folder_, kSource)},
                  {"deep/er/Mixed.HPP", WindowResult(folder_, "x; // y\r\n")},
                  {"deep/App.java", WindowResult(folder_, "class A {} /* j */\r\n")}}));
    // --ext replaces the list; a file named directly is taken whatever its extension.
    ASSERT_EQ(
        Run({"--ext", ".INC", "-o", Root() / "out2", Root() / "src", Root() / "src" / "notes.txt"}),
        kExitDone);
    EXPECT_EQ(TreeContents(Root() / "out2"),
              (std::map<std::string, std::string>{{"deep/make.inc", WindowResult(folder_, kSource)},
                                                  {"notes.txt", WindowResult(folder_, kSource)}}));
}

TEST_F(CliTest, EachFileIsReadInItsLanguageOrTheOneLangNames) {
    Write("src/a.js", "r = /\\//; // c\n");
    Write("src/b.go", "s := `//` // c\n");
    Write("src/tool", "#!/usr/bin/env node\nr = /\\//; // c\n");
    Write("src/c.txt", "s := `//` // c\n");
    ASSERT_EQ(Run({"-q", "-s", "-o", Root() / "out", Root() / "src", Root() / "src" / "tool"}),
              kExitDone)
        << console_.err;
    EXPECT_EQ(TreeContents(Root() / "out"),
              (std::map<std::string, std::string>{{"a.js", "r = /\\//;\n"},
                                                  {"b.go", "s := `//`\n"},
                                                  {"tool", "#!/usr/bin/env node\nr = /\\//;\n"}}));
    ASSERT_EQ(Run({"-q", "-s", "--lang", "go", Root() / "src" / "c.txt"}), kExitDone);
    EXPECT_EQ(console_.out, "s := `//`\n");
    ASSERT_EQ(Run({"--list-languages"}), kExitDone);
    EXPECT_NE(console_.out.find("\ngo           go  "), std::string::npos) << console_.out;
}

#ifndef _WIN32
TEST_F(CliTest, StandardInputIsReadWithLang) {
    Write("in.go", "x := 1 /* c */\n");
    const int saved = dup(STDIN_FILENO);
    const int in = open((Root() / "in.go").c_str(), O_RDONLY);
    dup2(in, STDIN_FILENO);
    const int code = Run({"--lang", "go", "-s", "-"});
    dup2(saved, STDIN_FILENO);
    close(in);
    close(saved);
    ASSERT_EQ(code, kExitDone);
    EXPECT_EQ(console_.out, "x := 1\n");
}
#endif

TEST_F(CliTest, EolCrlfGivesExactlyWhatTheWindowSaves) {
    const std::string source = "a /* b\n c */ d // e\rf\n\n/* g */\r\n  h";
    Write("s.cpp", source);
    for (const bool literals : {false, true}) {
        for (const bool keepHeader : {false, true}) {
            std::vector<fs::path> arguments = {"--eol", "crlf", Root() / "s.cpp"};
            if (literals) {
                arguments.insert(arguments.begin(), "--literals");
            }
            if (keepHeader) {
                arguments.insert(arguments.begin(), "--keep-header");
            }
            StripOptions options;
            options.literals = literals;
            options.keepHeader = keepHeader;
            ASSERT_EQ(Run(arguments), kExitDone);
            EXPECT_EQ(console_.out, WindowResult(folder_, source, options));
        }
    }
}

TEST_F(CliTest, EachLineEndChoice) {
    const std::string crlf = WindowResult(folder_, "a\r\n// x\r\nb\r\n");
    const struct {
        std::string source;
        const char* eol;
        std::string expected;
    } cases[] = {
        {"a\r\n// x\r\nb\r\n", "keep", crlf},
        {"a\n// x\nb\n", "keep", Replaced(crlf, "\r\n", "\n")},
        {"a\r// x\rb\r", "keep", Replaced(crlf, "\r\n", "\r")},
        {"a\n// x\r\nb", "crlf", crlf},
        {"a\r\n// x\nb\r", "lf", Replaced(crlf, "\r\n", "\n")},
        {"no line end", "keep", "no line end\r\n"},
    };
    for (const auto& c : cases) {
        Write("s.c", c.source);
        ASSERT_EQ(Run({"-q", "--eol", c.eol, Root() / "s.c"}), kExitDone);
        EXPECT_EQ(console_.out, c.expected) << c.eol;
        EXPECT_EQ(console_.err, "");
    }
}

TEST_F(CliTest, StandardOutputGetsTheResultAndNothingIsWritten) {
    Write("a.c", kSource);
    ASSERT_EQ(Run({Root() / "a.c"}), kExitDone);
    EXPECT_EQ(console_.out, WindowResult(folder_, kSource));
    EXPECT_NE(console_.err.find("1 file,"), std::string::npos);  // the summary, as without -q
    EXPECT_EQ(Read("a.c"), kSource);
    EXPECT_EQ(ListFolder(Root()), L"a.c;window-result;");
}

TEST_F(CliTest, CheckListsWhatWouldChangeAndWritesNothing) {
    const std::string clean = WindowResult(folder_, kSource);
    Write("src/dirty.c", kSource);
    Write("src/clean.c", clean);
    EXPECT_EQ(Run({"--check", "-i", Root() / "src"}), kExitChangesFound);
    EXPECT_EQ(console_.out, Shown(Root() / "src" / "dirty.c") + "\n");
    EXPECT_EQ(Read("src/dirty.c"), kSource);
    EXPECT_EQ(Run({"--check", Root() / "src" / "clean.c"}), kExitDone);
    EXPECT_EQ(console_.out, "");
}

TEST_F(CliTest, InPlaceReplacesEachSource) {
    Write("src/a.c", kSource);
    Write("src/sub/b.h", "b; // x\n");
    ASSERT_EQ(Run({"-i", "-q", Root() / "src"}), kExitDone);
    EXPECT_EQ(Read("src/a.c"), WindowResult(folder_, kSource));
    EXPECT_EQ(Read("src/sub/b.h"), "b; \n");
    EXPECT_EQ(ListFolder(Root() / "src"), L"a.c;sub;");
}

TEST_F(CliTest, AFileThatFailsIsReportedAndTheOthersGoOn) {
    Write("src/a.c", kSource);
    Write("src/z.c", kSource);
    Write("src/readonly.c", kSource);
    fs::permissions(Root() / "src/readonly.c",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Run({"-i", Root() / "src", Root() / "missing.c"}), kExitSomeFailed);
    EXPECT_NE(console_.err.find(Shown(Root() / "missing.c") + ": "), std::string::npos);
    EXPECT_NE(console_.err.find(Shown(Root() / "src" / "readonly.c") + ": "), std::string::npos);
    EXPECT_EQ(Read("src/readonly.c"), kSource);
    EXPECT_EQ(Read("src/a.c"), WindowResult(folder_, kSource));
    EXPECT_EQ(Read("src/z.c"), WindowResult(folder_, kSource));
}

TEST_F(CliTest, TheOutputFolderInsideTheInputIsNotReadAgain) {
    Write("src/a.c", kSource);
    Write("src/out/old.c", "left from an earlier run // x\r\n");
    ASSERT_EQ(Run({"-o", Root() / "src" / "out", Root() / "src"}), kExitDone) << console_.err;
    EXPECT_EQ(TreeContents(Root() / "src" / "out"),
              (std::map<std::string, std::string>{{"a.c", WindowResult(folder_, kSource)},
                                                  {"old.c", "left from an earlier run // x\r\n"}}));
}

TEST_F(CliTest, AFileReachedTwiceIsProcessedOnce) {
    Write("src/a.c", kSource);
    ASSERT_EQ(Run({"-i", Root() / "src", Root() / "src" / "a.c"}), kExitDone);
    EXPECT_EQ(Read("src/a.c"), WindowResult(folder_, kSource));
    EXPECT_NE(console_.err.find("1 file,"), std::string::npos);
}

TEST_F(CliTest, ResultsThatWouldLandOnTheSamePathFail) {
    Write("one/a.c", "one\r\n");
    Write("two/a.c", "two\r\n");
    EXPECT_EQ(Run({"-o", Root() / "out", Root() / "one", Root() / "two"}), kExitSomeFailed);
    EXPECT_EQ(Read("out/a.c"), "one\r\n");
    EXPECT_NE(console_.err.find(Shown(Root() / "two" / "a.c") + ": "), std::string::npos);
}

#ifndef _WIN32
TEST_F(CliTest, LinksToFoldersAreNotFollowedAndBrokenLinksAreReported) {
    Write("src/sub/a.c", kSource);
    fs::create_directory_symlink(Root() / "src", Root() / "src/sub/loop");
    fs::create_symlink(Root() / "gone.c", Root() / "src/broken.c");
    EXPECT_EQ(Run({"-o", Root() / "out", Root() / "src"}), kExitSomeFailed);
    EXPECT_NE(console_.err.find(Shown(Root() / "src" / "broken.c") + ": No such file"),
              std::string::npos);
    EXPECT_EQ(TreeContents(Root() / "out"),
              (std::map<std::string, std::string>{{"sub/a.c", WindowResult(folder_, kSource)}}));
}
#endif

TEST_F(CliTest, ParallelRunsGiveTheSameBytesAsOne) {
    std::mt19937 random(11);
    const char* pieces[] = {"code();", " // c", "/* b */", "/*\r\n*/", "\r\n", "\n", "  ", "*/"};
    for (int file = 0; file < 60; ++file) {
        std::string text;
        for (int i = 0; i < 2000; ++i) {
            text += pieces[random() % std::size(pieces)];
        }
        Write("src/d" + std::to_string(file % 7) + "/f" + std::to_string(file) + ".cpp", text);
    }
    ASSERT_EQ(Run({"-j", "1", "-o", Root() / "one", Root() / "src"}), kExitDone);
    ASSERT_EQ(Run({"-j", "4", "-o", Root() / "four", Root() / "src"}), kExitDone);
    const auto one = TreeContents(Root() / "one");
    EXPECT_EQ(one.size(), 60u);
    EXPECT_TRUE(one == TreeContents(Root() / "four"));
}

// The real program: Unicode arguments, a folder deeper than MAX_PATH, and a Chinese name printed
// exactly in a message.
TEST_F(CliTest, TheProgramTakesChinesePathsAndPathsOverMaxPath) {
    fs::path deep = Root() / OsPath(L"源代码");
    while (deep.native().size() < 300) {
        deep /= std::string(40, 'd');
    }
    const fs::path source = deep / OsPath(L"注释.cpp");
    std::error_code error;
    ASSERT_TRUE(CreateFolderTree(deep, error)) << error.message();
    std::ofstream(ReachablePath(source), std::ios::binary) << kSource;

    ProgramResult result = RunProgram({source});
    EXPECT_EQ(result.exitCode, kExitDone);
    EXPECT_EQ(result.out, WindowResult(folder_, kSource));

    result = RunProgram({"-q", "-o", Root() / "out", Root() / OsPath(L"源代码")});
    EXPECT_EQ(result.exitCode, kExitDone) << result.err;
    const fs::path written = Root() / "out" / source.lexically_relative(Root() / OsPath(L"源代码"));
    std::ifstream in(ReachablePath(written), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), WindowResult(folder_, kSource));

    const fs::path missing = Root() / OsPath(L"缺少的文件.c");
    result = RunProgram({"-q", missing});
    EXPECT_EQ(result.exitCode, kExitSomeFailed);
    EXPECT_EQ(result.err.rfind(Shown(missing) + ": ", 0), 0u) << result.err;
}

}  // namespace
