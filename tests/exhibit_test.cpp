// The exhibit's pieces: ignore patterns, decoding, the page choice, the entry, wrapping, and what
// bad input makes of a run.
#include <gtest/gtest.h>

#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

#include "exhibit/exhibit_run.h"
#include "exhibit/exhibit_summary.h"
#include "exhibit/ignore_patterns.h"
#include "exhibit/page_choice.h"
#include "exhibit/program_order.h"
#include "exhibit/source_collector.h"
#include "exhibit/source_lines.h"
#include "exhibit/text_decoding.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

struct IgnoreCase {
    const char* patterns;
    const char* path;
    bool folder;
    bool ignored;
};

TEST(ExhibitIgnore, FollowsGitignoreRules) {
    const IgnoreCase cases[] = {
        {"*.log", "a/b/x.log", false, true},    {"/top.c", "sub/top.c", false, false},
        {"/top.c", "top.c", false, true},       {"gen/", "gen", false, false},
        {"gen/", "a/gen", true, true},          {"a/**/z.c", "a/z.c", false, true},
        {"a/**/z.c", "a/b/c/z.c", false, true}, {"*.c\n!keep.c", "keep.c", false, false},
        {"doc/*.c", "doc/x/y.c", false, false}, {"x[0-9].c", "x7.c", false, true},
        {"x[!0-9].c", "x7.c", false, false},    {"# comment\n\n", "# comment", false, false},
        {"out/**", "out/a/b.c", false, true},   {"a?.c", "a/.c", false, false},
    };
    for (const IgnoreCase& c : cases) {
        IgnorePatterns patterns;
        patterns.Add(c.patterns, "");
        EXPECT_EQ(patterns.Ignores(c.path, c.folder), c.ignored) << c.patterns << " : " << c.path;
    }
}

TEST(ExhibitIgnore, PatternsOfAFolderApplyBelowItOnly) {
    IgnorePatterns patterns;
    patterns.Add("/local.c\n", "sub/");
    EXPECT_TRUE(patterns.Ignores("sub/local.c", false));
    EXPECT_FALSE(patterns.Ignores("local.c", false));
    EXPECT_FALSE(patterns.Ignores("sub/deeper/local.c", false));
}

struct DecodeCase {
    std::string bytes;
    std::string encoding;
    bool decodes;
    std::string utf8;
};

TEST(ExhibitDecoding, ByteOrderMarksUtf8AndCodePages) {
    const DecodeCase cases[] = {
        {"\xEF\xBB\xBFint a;", "", true, "int a;"},
        {"\xFF\xFE"
         "a\0\x2D\x4E=\0\x3D\xD8\x00\xDE"s,
         "", true, "a\xE4\xB8\xAD=\xF0\x9F\x98\x80"},
        {"\xFE\xFF\0a\x4E\x2D"s, "", true, "a\xE4\xB8\xAD"},
        {"\xFF\xFE"
         "a\0\x00\xDE"s,
         "", false, ""},  // a lone low surrogate
        {"\xD6\xD0\xCE\xC4", "GBK", true, "\xE4\xB8\xAD\xE6\x96\x87"},
        {"\xEF\xBB\xBF\xC0\x80", "", false, ""},        // an overlong form after the mark
        {"\xE4\xB8\xAD", "GBK", true, "\xE4\xB8\xAD"},  // UTF-8 comes first
    };
    for (const DecodeCase& c : cases) {
        std::string utf8;
        EXPECT_EQ(DecodeSourceText(c.bytes, c.encoding, utf8), c.decodes) << c.utf8;
        if (c.decodes) {
            EXPECT_EQ(utf8, c.utf8);
        }
    }
    // Without a name, the system's code page: GBK on Chinese Windows, UTF-8 elsewhere (where GBK
    // bytes need their encoding named).
    std::string utf8;
#ifdef _WIN32
    if (GetACP() == 936) {
        EXPECT_TRUE(DecodeSourceText("\xD6\xD0\xCE\xC4", "", utf8));
        EXPECT_EQ(utf8, "\xE4\xB8\xAD\xE6\x96\x87");
    }
#else
    EXPECT_FALSE(DecodeSourceText("\xD6\xD0\xCE\xC4", "", utf8));
#endif
}

TEST(ExhibitPages, FirstAndLastThirtyNumberedOneToSixty) {
    const PageChoice sixty(60 * 50, 50);
    EXPECT_EQ(sixty.ExhibitPages(), 60u);
    EXPECT_EQ(sixty.ExhibitPageOf(45), 45u);

    const PageChoice longer(100 * 50 + 7, 50);  // 101 pages, the last of 7 rows
    EXPECT_EQ(longer.ProgramPages(), 101u);
    EXPECT_EQ(longer.ExhibitPages(), 60u);
    EXPECT_EQ(longer.ExhibitPageOf(30), 30u);
    EXPECT_EQ(longer.ExhibitPageOf(31), 0u);
    EXPECT_EQ(longer.ExhibitPageOf(71), 0u);
    EXPECT_EQ(longer.ExhibitPageOf(72), 31u);
    EXPECT_EQ(longer.ExhibitPageOf(101), 60u);
    EXPECT_EQ(longer.ProgramPageOf(31), 72u);
    EXPECT_TRUE(longer.Shows(100 * 50 + 6));
    EXPECT_FALSE(longer.Shows(30 * 50));
}

TEST(ExhibitSummary, EachFileWithItsPagesInTheExhibit) {
    ExhibitOptions options;
    options.name = "N";
    options.version = "1";
    const PageChoice pages(100 * 50, 50);  // pages 31 to 70 left out
    const std::vector<LeftOut> leftOut = {{"build/", "build output"}};
    const std::vector<std::string> warnings = {"x.c: not text"};
    const SummaryInput input{
        options,
        pages,
        5000,
        3,
        {{"a.c", 10, 0, 10},        // page 1
         {"b.c", 4000, 10, 4000},   // pages 1 to 81: 1-30 and, after the gap, 31-41
         {"c.c", 100, 2000, 100},   // pages 41 and 42, left out
         {"d.c", 890, 4110, 890}},  // pages 83 to 100
        leftOut,
        warnings};
    const std::string text = SummaryText(input);
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF"));
    for (const char* line :
         {"\r\n  10\t1\ta.c\r\n", "\r\n  4000\t1-30, 31-41\tb.c\r\n",
          "\r\n  100\tnot shown\tc.c\r\n", "\r\n  890\t43-60\td.c\r\n",
          "\r\n  build/: build output\r\n", "\r\n  x.c: not text\r\n",
          "Pages of the whole program: 100\r\n", "Lines wrapped onto more than one row: 3\r\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(ExhibitOrder, EntryFirstByItsSigns) {
    EXPECT_EQ(EntryScore("src/App.java", "@SpringBootApplication\npublic class App {"), 100);
    EXPECT_EQ(EntryScore("tool.c", "int main(int argc, char** argv) {"), 80);
    EXPECT_EQ(EntryScore("tool.c", "int domain(void);"), 0);
    EXPECT_EQ(EntryScore("web/src/index.js", ""), 45);
    EXPECT_EQ(EntryScore("x/index.json", ""), 0);

    const std::vector<std::string_view> shown = {"a/deep/m.c", "b.c", "m.c", "lib/App.java"};
    EXPECT_EQ(EntryIndex(shown, {80, 0, 80, 0}, ""), 2);  // the shallower of two mains
    EXPECT_EQ(EntryIndex(shown, {80, 0, 80, 100}, ""), 3);
    EXPECT_EQ(EntryIndex(shown, {0, 0, 0, 0}, ""), -1);
    EXPECT_EQ(EntryIndex(shown, {80, 0, 80, 100}, "deep/m.c"), 0);
    EXPECT_EQ(EntryIndex(shown, {80, 0, 80, 100}, "eep/m.c"), -1);
}

TEST(ExhibitRows, WideCharactersTakeTwoColumnsAndAreNeverSplit) {
    std::vector<std::string> rows;
    // "ab中文c" at 5 columns: "ab中" (4 columns; 文 would make 6), "文c".
    EXPECT_EQ(WrapLine("ab\xE4\xB8\xAD\xE6\x96\x87"
                       "c",
                       5, &rows),
              2u);
    EXPECT_EQ(rows, (std::vector<std::string>{"ab\xE4\xB8\xAD",
                                              "\xE6\x96\x87"
                                              "c"}));
    rows.clear();
    EXPECT_EQ(WrapLine("abcdefg", 3, &rows), 3u);
    EXPECT_EQ(rows, (std::vector<std::string>{"abc", "def", "g"}));
    EXPECT_EQ(WrapLine("abcdef", 3, nullptr), 2u);
}

TEST(ExhibitSource, StrippedTrimmedAndTabsExpanded) {
    const TempFolder folder;
    const fs::path path = folder.Root() / "a.c";
    std::ofstream(path, std::ios::binary)
        << "int a; /* x */  \r\n\t\r\n\tchar* s = \"// kept\";\n  x\ty; // gone\n";
    const SourceLines lines = PrepareSource({path, "a.c", fs::file_size(path)}, "", 4, 80, true);
    EXPECT_EQ(lines.lines,
              (std::vector<std::string>{"int a;", "    char* s = \"// kept\";", "  x y;"}));
    EXPECT_EQ(lines.lineCount, 3u);
}

TEST(ExhibitCollect, LeavesOutBuildFoldersTestsIgnoredAndGeneratedFiles) {
    const TempFolder folder;
    const fs::path root = folder.Root();
    for (const char* name : {"src/a.c", "src/z/b.c", "build/c.c", "node_modules/d.c", "tests/e.c",
                             "src/f_test.c", "src/g.min.js", "src/ign.c", "src/x.txt"}) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name) << "int v;\n";
    }
    std::ofstream(root / ".gitignore") << "ign.c\n";
    ExhibitOptions options;
    options.roots = {root};
    options.excludes = {"z/"};
    const Collection collection = CollectSources(options);
    ASSERT_EQ(collection.files.size(), 1u);
    EXPECT_EQ(collection.files[0].shown, "src/a.c");
    std::string leftOut;
    for (const LeftOut& left : collection.leftOut) {
        leftOut += left.shown + "|";
    }
    EXPECT_EQ(leftOut,
              "build/|node_modules/|tests/|src/f_test.c|src/g.min.js|src/ign.c|src/z/|"
              "1 file(s) *.txt|");

    // Chosen file types, as typed.
    options.extensions = ExtensionList(" .H; txt,C ");
    EXPECT_EQ(options.extensions, (std::vector<std::string>{"h", "txt", "c"}));
    options.extensions = {"h"};
    EXPECT_TRUE(CollectSources(options).files.empty());
}

// A run that fails writes nothing and says why.
class ExhibitRun : public ::testing::Test {
  protected:
    ExhibitOutcome Make(void (*change)(ExhibitOptions&)) {
        fs::create_directories(folder_.Root() / "p");
        std::ofstream(folder_.Root() / "p/main.c") << "int main(void) { return 0; }\n";
        ExhibitOptions options;
        options.name = "N";
        options.version = "1";
        options.roots = {folder_.Root() / "p"};
        options.pdf = folder_.Root() / "out/e.pdf";
        fs::create_directories(folder_.Root() / "out");
        change(options);
        return MakeExhibit(options);
    }
    bool NothingWritten() const { return fs::is_empty(folder_.Root() / "out"); }
    TempFolder folder_;
};

TEST_F(ExhibitRun, BadInputIsNamedAndNothingIsWritten) {
    const struct {
        void (*change)(ExhibitOptions&);
        const char* message;
    } cases[] = {
        {[](ExhibitOptions& o) { o.version = " "; }, "name and version"},
        {[](ExhibitOptions& o) { o.roots = {o.roots[0] / "missing"}; }, "missing"},
        {[](ExhibitOptions& o) { o.excludes = {"*.c"}; }, "no source files found"},
        {[](ExhibitOptions& o) { o.first = "other.c"; }, "other.c (--first)"},
        {[](ExhibitOptions& o) { o.linesPerPage = 49; }, "lines per page"},
        {[](ExhibitOptions& o) { o.pdf = o.pdf.parent_path() / "no/e.pdf"; }, "cannot be written"},
    };
    for (const auto& c : cases) {
        const ExhibitOutcome outcome = Make(c.change);
        EXPECT_NE(outcome.error.find(c.message), std::string::npos) << outcome.error;
        EXPECT_TRUE(NothingWritten()) << c.message;
    }
}

#ifndef _WIN32
TEST_F(ExhibitRun, AMissingFontIsNamedWithItsPackage) {
    setenv("ORVANDEL_FONT_DIR", (folder_.Root() / "no-fonts").c_str(), 1);
    const ExhibitOutcome outcome = Make([](ExhibitOptions&) {});
    unsetenv("ORVANDEL_FONT_DIR");
    EXPECT_NE(outcome.error.find("DejaVu Sans Mono"), std::string::npos) << outcome.error;
    EXPECT_NE(outcome.error.find("apt-get install fonts-dejavu-core"), std::string::npos);
    EXPECT_TRUE(NothingWritten());
}
#endif

#ifdef _WIN32
TEST_F(ExhibitRun, AnOutputOpenElsewhereStaysWhole) {
    const fs::path pdf = folder_.Root() / "out/e.pdf";
    fs::create_directories(pdf.parent_path());
    std::ofstream(pdf, std::ios::binary) << "the old exhibit";
    // Another program holds the file open, sharing nothing.
    const HANDLE held =
        CreateFileW(pdf.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ExhibitOutcome outcome = Make([](ExhibitOptions&) {});
    CloseHandle(held);
    EXPECT_NE(outcome.error.find("open in another program"), std::string::npos) << outcome.error;
    std::ifstream in(pdf, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the old exhibit");
}
#endif

TEST_F(ExhibitRun, BinaryGeneratedAndUndecodableSourcesAreLeftOutAndNamed) {
    const fs::path project = folder_.Root() / "p";
    fs::create_directories(project);
    std::ofstream(project / "blob.c", std::ios::binary) << std::string("int\0\x01", 5);
    std::ofstream(project / "bundle.c") << "int v[] = {" << std::string(9000, '1') << "};\n";
    std::ofstream(project / "gbk.c", std::ios::binary) << "char* s = \"\xD6\xD0\";\n";
    std::ofstream(project / "long.c") << "int w = " << std::string(3000, '2') << ";\n";
    const ExhibitOutcome outcome = Make([](ExhibitOptions& o) { o.encoding = "no-such-code"; });
    ASSERT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.files, 2u);  // main.c and the long line of the program's own
    EXPECT_EQ(outcome.wrappedLines, 1u);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_EQ(outcome.warnings[0].find("gbk.c: not text"), 0u) << outcome.warnings[0];
    std::ifstream in(folder_.Root() / "out/e.txt", std::ios::binary);
    const std::string summary(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(summary.find("blob.c: a binary file"), std::string::npos) << summary;
    EXPECT_NE(summary.find("bundle.c: generated or minified"), std::string::npos) << summary;
}

TEST_F(ExhibitRun, WritesThePdfAndTheSummaryBesideIt) {
    const ExhibitOutcome outcome = Make([](ExhibitOptions&) {});
    ASSERT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.lines, 1u);
    EXPECT_TRUE(fs::exists(folder_.Root() / "out/e.pdf"));
    EXPECT_TRUE(fs::exists(folder_.Root() / "out/e.txt"));
}

}  // namespace
