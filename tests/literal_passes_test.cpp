#include <gtest/gtest.h>

#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"
#include "tests/temp_folder.h"

namespace {

StripOptions Options(bool literals, bool keepHeader,
                     SourceLanguage language = SourceLanguage::CFamily) {
    StripOptions options;
    options.literals = literals;
    options.keepHeader = keepHeader;
    options.language = language;
    return options;
}

const StripOptions kLiterals = Options(true, false);

AnsiText LinePass(std::string_view source, const StripOptions& options = kLiterals) {
    AnsiText text(source);
    StripLineCommentsInPlace(text, options);
    return text;
}

AnsiText BothPasses(std::string_view source, const StripOptions& options = kLiterals) {
    AnsiText text = LinePass(source, options);
    StripBlockCommentsInPlace(text, options);
    return text;
}

TEST(PassOptions, BothOffAreThePlainPasses) {
    const std::string source = "/* a // b */\r\nx = \"//\"; // c\n\t\r\n  a/**/b\r\n";
    EXPECT_EQ(LinePass(source, Options(false, false)), StripLineCommentsFromText(source));
    EXPECT_EQ(BothPasses(source, Options(false, false)),
              StripBlockComments(StripLineCommentsFromText(source)));
}

TEST(PassOptions, LanguageComesFromTheExtension) {
    // The literal passes' reading, from the table of languages; a name it does not know is C.
    const auto familyOf = [](const wchar_t* path) {
        const Language* language = LanguageOfFile(path, {});
        return language ? language->family : SourceLanguage::CFamily;
    };
    EXPECT_EQ(familyOf(L"C:\\src\\Main.java"), SourceLanguage::Java);
    EXPECT_EQ(familyOf(L"Main.JAVA"), SourceLanguage::Java);
    EXPECT_EQ(familyOf(L"main.c"), SourceLanguage::CFamily);
    EXPECT_EQ(familyOf(L"Main.java.txt"), SourceLanguage::CFamily);
    EXPECT_EQ(familyOf(L"java"), SourceLanguage::CFamily);
}

TEST(PassOptions, FirstPassReadsTheFileItIsGiven) {
    TempFolder folder;
    const Path path = folder.Write(L"in.c", "s = \"http://x\"; // c\r\n");
    AnsiText text;
    ASSERT_TRUE(StripLineComments(path, text, kLiterals));
    EXPECT_EQ(text, "s = \"http://x\";");
    EXPECT_FALSE(StripLineComments(folder.PathOf(L"missing.c"), text, kLiterals));
}

TEST(PassOptions, LiteralPassesEndLinesAsTold) {
    // Long plain lines, blank ones, a comment and a raw string's own line ends.
    const std::string source =
        "int plain_line_one = 1;\r\n\n  \r\nint plain_line_two = 2;\n"
        "x; // c\rr = R\"(\n)\"; /* d */\nint last_plain_line = 3;\n";
    StripOptions lf = kLiterals;
    lf.lineEnd = "\n";
    // Every line end of the result is one the passes wrote.
    std::string expected;
    for (char c : BothPasses(source)) {
        if (c != '\r') {
            expected += c;
        }
    }
    EXPECT_EQ(BothPasses(source, lf), expected);
}

TEST(LiteralPasses, MarkersInsideLiteralsAreText) {
    EXPECT_EQ(BothPasses("x = \"http://a\"; // c"), "x = \"http://a\";");
    EXPECT_EQ(BothPasses("a = \"/*\"; b; /* c */"), "a = \"/*\"; b;");
    EXPECT_EQ(BothPasses("c = '\"'; d = \"\\\"//\"; // e"), "c = '\"'; d = \"\\\"//\";");
    EXPECT_EQ(BothPasses("s = u8\"//\" L'/' U\"/*\"; /* x */"), "s = u8\"//\" L'/' U\"/*\";");
}

TEST(LiteralPasses, RawStringsNeedAWholePrefixAndKeepTheirLines) {
    EXPECT_EQ(LinePass("R\"( \" )\" // c"), "R\"( \" )\"");
    EXPECT_EQ(LinePass("myR\"( \" )\" // c"), "myR\"( \" )\" // c");
    EXPECT_EQ(LinePass("u8R\"x(a)\" // )x\" b // c"), "u8R\"x(a)\" // )x\" b");
    // Without a valid delimiter the compiler takes everything up to the next '"'.
    EXPECT_EQ(LinePass("R\"a\\\"//b\" x; // c"), "R\"a\\\"");
    EXPECT_EQ(BothPasses("r = LR\"(\n  \n\n/* x */  \r\n)\";"),
              "r = LR\"(\r\n  \r\n\r\n/* x */  \r\n)\";");
}

TEST(LiteralPasses, JavaTextBlocksAndCharactersKeepTheirMarkers) {
    const StripOptions java = Options(true, false, SourceLanguage::Java);
    EXPECT_EQ(BothPasses("s = \"\"\"\n  // a\n\n  /* b */ \\\"\"\"\n  \"\"\"; // c", java),
              "s = \"\"\"\r\n  // a\r\n\r\n  /* b */ \\\"\"\"\r\n  \"\"\";");
    // Java has no line splices: the backslash ends nothing.
    EXPECT_EQ(LinePass("a; // b \\\nc;", java), "a;\r\nc;");
}

TEST(LiteralPasses, UnclosedLiteralsEndAtTheirLine) {
    EXPECT_EQ(BothPasses("#error don't\nint x; // c"), "#error don't\r\nint x;");
    EXPECT_EQ(BothPasses("s = \"open /* \n x; /* c */"), "s = \"open /* \r\n x;");
}

TEST(LiteralPasses, DigitSeparatorsAreNoCharacterLiterals) {
    EXPECT_EQ(LinePass("n = 1'000'000 + 0x1'F + 'a'; // c"), "n = 1'000'000 + 0x1'F + 'a';");
    EXPECT_EQ(LinePass("n = 1'000; // c", Options(true, false, SourceLanguage::Java)),
              "n = 1'000; // c");
}

TEST(LiteralPasses, SplicesContinueCommentsAndLiterals) {
    EXPECT_EQ(LinePass("a; // b \\\r\nc;\r\nd;"), "a;\r\nd;");
    EXPECT_EQ(LinePass("s = \"x \\\n// y\"; // z"), "s = \"x \\\r\n// y\";");
    // A blank line after a splice ends the directive; dropping it would join the next line.
    EXPECT_EQ(BothPasses("#define X 1 \\\n  // c\nint y;"), "#define X 1 \\\r\n\r\nint y;");
}

TEST(LiteralPasses, CommentsInsideCommentsBelongToThem) {
    EXPECT_EQ(LinePass("/* a // b */ x; // c"), "/* a // b */ x;");
    EXPECT_EQ(BothPasses("/* a // b */ x;"), " x;");
    EXPECT_EQ(LinePass("a; // b /* c\nd */ e;"), "a;\r\nd */ e;");
}

TEST(LiteralPasses, HeaderNamesAreNotScanned) {
    EXPECT_EQ(BothPasses("#include <sys//x.h> // c\n# include_next </*x*/> /* d */"),
              "#include <sys//x.h>\r\n# include_next </*x*/>");
    EXPECT_EQ(LinePass("a = b <c//d>"), "a = b <c");
}

TEST(LiteralPasses, RemovingACommentNeverGluesTokens) {
    EXPECT_EQ(BothPasses("a/**/b +/**/+ 1/**/.5 -/**/> u8/**/\"s\" \"t\"/**/x 1e/**/+2"),
              "a b + + 1 .5 - > u8 \"s\" \"t\" x 1e +2");
    EXPECT_EQ(BothPasses("f(/**/x/**/)/**/;/**/-/**/1"), "f(x);-1");
    EXPECT_EQ(BothPasses("1./**/x 1'0/**/.5 0x1p/**/-3"), "1. x 1'0 .5 0x1p -3");
}

TEST(LiteralPasses, ACommentSpanningLinesBetweenCodeLeavesOneLineEnd) {
    EXPECT_EQ(BothPasses("int a; /* x\n y */ int b;"), "int a;\r\n int b;");
    EXPECT_EQ(BothPasses("int a; /* x\n y */\nint b;"), "int a;\r\nint b;");
    EXPECT_EQ(BothPasses("  /* x\n y */ int b;"), "   int b;");
}

TEST(LiteralPasses, InADirectiveASpanningCommentLeavesOneSpace) {
    EXPECT_EQ(BothPasses("#define X 1          /* a\r\nb */ 2  \r\nint y;"),
              "#define X 1  2  \r\nint y;");
    EXPECT_EQ(BothPasses("/* a */ #define X 1/* a\nb */2"), " #define X 1 2");
    // A line end there would make a directive of what a splice joins to the code before it.
    EXPECT_EQ(BothPasses(" x/* a\n*/ \\\n # y"), " x  \\\r\n # y");
}

TEST(LiteralPasses, LinesComeOutClean) {
    EXPECT_EQ(BothPasses("x;   // c\n\t \n  /* c */  \ny;  \t\nz; /* c */\t"),
              "x;\r\ny;  \t\r\nz;");
    const std::string gbk = "\xd6\xd0\xce\xc4";
    const std::string bytes("\r\n\0\x80\"", 5);
    EXPECT_EQ(BothPasses(gbk + bytes + gbk + "//\" // " + gbk), gbk + bytes + gbk + "//\"");
}

TEST(HeaderComment, KeptExactlyInThePlainPasses) {
    const StripOptions plain = Options(false, true);
    const std::string header = "/* (c) 2026 // all rights\n\n * https://x */";
    EXPECT_EQ(BothPasses("\r\n  " + header + "\r\nint a; // b\r\n/* c */ int d;", plain),
              "  " + header + "\r\nint a; \r\n int d;");
    EXPECT_EQ(BothPasses("// one /* two\r\n\t// three\nx; // y", plain),
              "// one /* two\r\n\t// three\r\nx; ");
}

TEST(HeaderComment, KeptExactlyInTheLiteralPasses) {
    const StripOptions literals = Options(true, true);
    EXPECT_EQ(BothPasses("\xEF\xBB\xBF// a \\\n b\n// c \"\n\n// d\nx; /* e */", literals),
              "\xEF\xBB\xBF// a \\\n b\n// c \"\r\nx;");
    EXPECT_EQ(BothPasses("/* a */ /* b */ x; // c\n", literals), "/* a */  x;");
    EXPECT_EQ(BothPasses("x; /* not first */", literals), "x;");
}

// The compiler reads splices (a backslash, blanks, a line end) and Java's Unicode escapes before
// it looks for comments, literals or header names; each source here is what both passes leave.
struct ReadingOrderCase {
    const char* name;
    SourceLanguage language;
    const char* source;
    const char* result;
};

void PrintTo(const ReadingOrderCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadingOrder : public testing::TestWithParam<ReadingOrderCase> {};

TEST_P(ReadingOrder, BothPassesLeaveWhatTheCompilerReads) {
    const ReadingOrderCase& c = GetParam();
    EXPECT_EQ(BothPasses(c.source, Options(true, false, c.language)), c.result);
}

constexpr auto C = SourceLanguage::CFamily;
constexpr auto Java = SourceLanguage::Java;

INSTANTIATE_TEST_SUITE_P(
    LiteralPasses, ReadingOrder,
    testing::Values(
        ReadingOrderCase{"CommentAfterASpliceGluesNothing", C, "#define F(x) x+\\\n/**/+1",
                         "#define F(x) x+\\\r\n +1"},
        ReadingOrderCase{"NamesMeetOverASplice", C, "d\\\n/* x */e", "d\\\r\n e"},
        ReadingOrderCase{"NamesMeetOverASpliceAndASpanningComment", C, "d\\ \n/* x\n */e",
                         "d\\ \r\n e"},
        ReadingOrderCase{"StrayBackslashKeepsItsLineComment", C, "#define A x \\ // c\nint y;",
                         "#define A x \\ // c\r\nint y;"},
        ReadingOrderCase{"StrayBackslashKeepsItsBlockComment", C, "#define A x \\ /* c */\nint y;",
                         "#define A x \\ /* c */\r\nint y;"},
        ReadingOrderCase{"StrayBackslashTakesASpaceForALineBreak", C, "x \\ /* a\nb */ y",
                         "x \\  y"},
        ReadingOrderCase{"BlanksAfterABackslashSpliceAComment", C,
                         "// see C:\\temp\\ \nint live = 1;\nint k;", "int k;"},
        ReadingOrderCase{"BlanksAfterABackslashSpliceALiteral", C, "s = \"a\\\t\n// b\"; // c",
                         "s = \"a\\\t\r\n// b\";"},
        ReadingOrderCase{"SpliceInsideALineCommentMarker", C, "a /\\\n/ c\nint b;", "a\r\nint b;"},
        ReadingOrderCase{"SpliceInsideABlockCommentEnd", C, "a /* c *\\\n/ int b;", "a\r\n int b;"},
        ReadingOrderCase{"HeaderNameInHasInclude", C, "#if __has_include(<a//b.h>) // c",
                         "#if __has_include(<a//b.h>)"},
        ReadingOrderCase{"HeaderNamesAfterLiterals", C,
                         "#x 'a' R\"y( )\" )y\" __has_include(</*x*/y>) || __has_include(<z//w>)",
                         "#x 'a' R\"y( )\" )y\" __has_include(</*x*/y>) || __has_include(<z//w>)"},
        ReadingOrderCase{"HeaderNameAfterACommentedHash", C, "#/**/include <a//b.h>",
                         "#include <a//b.h>"},
        ReadingOrderCase{"HeaderNameAfterACommentedName", C, "#include/**/<a//b.h>",
                         "#include<a//b.h>"},
        ReadingOrderCase{"HeaderNameAfterAFormFeed", C, "\f#include <a//b.h>",
                         "\f#include <a//b.h>"},
        ReadingOrderCase{"HeaderNameAfterADigraph", C, "%:include <a//b.h>", "%:include <a//b.h>"},
        ReadingOrderCase{"SpanningCommentBeforeAHashMakesNoDirective", C, "x /* a\nb */ #define Y",
                         "x  #define Y"},
        ReadingOrderCase{"UniversalCharacterNameStaysApart", C, "\\/**/u0041", "\\ u0041"},
        ReadingOrderCase{"JavaEscapedLineEndEndsAComment", Java,
                         "x; // note \\u000a static int live = 1;",
                         "x; \\u000a static int live = 1;"},
        ReadingOrderCase{"JavaEscapedQuoteEndsAString", Java, "s = \"\\u0022; // c",
                         "s = \"\\u0022;"},
        ReadingOrderCase{"JavaEscapedBackslashEscapesNoQuote", Java, "s = \"\\\\u0022; // c\";",
                         "s = \"\\\\u0022; // c\";"},
        ReadingOrderCase{"JavaEscapedMarkersOpenAndCloseComments", Java,
                         "a; \\u002f\\uu002a b *\\u002f c; /* d \\u002a/ e;", "a;  c;  e;"}),
    [](const testing::TestParamInfo<ReadingOrderCase>& info) { return info.param.name; });

}  // namespace
