#include "processing/comment_passes.h"

#include <gtest/gtest.h>

#include "tests/temp_folder.h"

namespace {

struct Case {
    std::string input;
    std::string expected;
};

void ExpectAll(AnsiText (*pass)(std::string_view), std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(pass(c.input), c.expected) << "input: " << ::testing::PrintToString(c.input);
    }
}

TEST(StripLineComments, CutsEachLineAtItsFirstDoubleSlash) {
    ExpectAll(StripLineCommentsFromText, {
                                             {"int a;  // note", "int a;  "},
                                             {"a // b // c", "a "},
                                             {"x = \"http://example.com\";", "x = \"http:"},
                                             {"a/b/c", "a/b/c"},
                                             {"a/ /b", "a/ /b"},
                                             {"///", ""},
                                             {"\t// indented", "\t"},
                                         });
}

TEST(StripLineComments, DropsBlankLinesButCountsOnlyTheSpaceAsBlank) {
    ExpectAll(StripLineCommentsFromText, {
                                             {"", ""},
                                             {"\r\n\r\n", ""},
                                             {"// only\r\n   // indented\r\n\r\n", ""},
                                             {"a\r\n   \r\nb", "a\r\nb"},
                                             {"\t\t\r\nb", "\t\t\r\nb"},
                                             {"  x  \r\n", "  x  "},
                                             {"a\r\n\t// tab before comment", "a\r\n\t"},
                                         });
}

TEST(StripLineComments, EndsLinesAtCrLfCrOrLfAndJoinsWithCrLf) {
    ExpectAll(StripLineCommentsFromText, {
                                             {"a\r\nb\r\n", "a\r\nb"},
                                             {"a\rb\r", "a\r\nb"},
                                             {"a\nb // c\nd", "a\r\nb \r\nd"},
                                             {"a\n\r b", "a\r\n b"},
                                             {"a\r\r\n\nb", "a\r\nb"},
                                             {"a // x\r\nb", "a \r\nb"},
                                         });
}

TEST(StripLineComments, KeepsEveryOtherByteAsItIs) {
    const std::string gbk = "\xd6\xd0\xce\xc4";  // two Chinese characters in GBK
    const std::string utf8Bom = "\xef\xbb\xbf";
    ExpectAll(StripLineCommentsFromText,
              {
                  {gbk + "//" + gbk, gbk},
                  {utf8Bom + "int x; // " + gbk, utf8Bom + "int x; "},
                  {std::string("a\0b\r\n\x80\xff", 7), std::string("a\0b\r\n\x80\xff", 7)},
                  {"\x1a\x7f", "\x1a\x7f"},
              });
}

TEST(StripLineComments, ReadsTheFileItIsGiven) {
    TempFolder folder;
    const Path path = folder.Write(L"in.c", "int a; // one\r\n\r\n  // two\r\nint b;\r\n");
    const auto result = StripLineComments(path);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, "int a; \r\nint b;");
    EXPECT_EQ(StripLineComments(folder.PathOf(L"missing.c")), std::nullopt);
    EXPECT_EQ(StripLineComments(folder.Root().wstring()), std::nullopt);
}

TEST(StripBlockComments, RemovesCommentsWithoutTouchingTheCodeAroundThem) {
    ExpectAll(StripBlockComments,
              {
                  {"a /* b */\r\nc", "a c"},
                  {"/* c */\r\nint x;", "int x;"},
                  {"f(/* a */ x);", "f( x);"},
                  {"a/**/b", "ab"},
                  {"x /* one */ y /* two */ z", "x  y  z"},
                  {"/* 1 */\r\n/* 2 */\r\nint x;", "int x;"},
                  {"int a; /* multi\r\nline\r\ncomment */\r\nint b;", "int a; int b;"},
                  {"a\r\n/* x */", "a\r\n"},
                  {"a /* x */\rb", "a \rb"},
                  {"", ""},
                  {"/", "/"},
                  {"*", "*"},
              });
}

TEST(StripBlockComments, FollowsTheMarkerRulesExactly) {
    ExpectAll(StripBlockComments,
              {
                  // A "*/" outside a comment is dropped.
                  {"a*/bcd", "abcd"},
                  {"a*/\r\nb", "ab"},
                  // The '*' serves both markers: "/*/" closes at once.
                  {"a/*/bc", "abc"},
                  // Comments do not nest: the first "*/" ends the comment.
                  {"a /* b /* c */ d */ e", "a  d  e"},
                  // A "/*" right after a comment starts the next one at once.
                  {"a/* 1 *//* 2 */b", "ab"},
                  {"a/* 1 */\r\n/* 2 */\r\nb", "ab"},
                  // The byte at the resume position is kept even when it starts "*/".
                  {"/* a */*/b", "*/b"},
                  // Unclosed comments take everything to the end.
                  {"x/* never closed\r\ny", "x"},
                  {"x/*", "x"},
                  {"x/*/", "x"},
                  {"/*", ""},
              });
}

TEST(StripBlockComments, KeepsNonAsciiBytesAroundMarkers) {
    const std::string gbk = "\xd6\xd0\xce\xc4";
    const std::string utf8 = "\xe4\xb8\xad\xe6\x96\x87";
    ExpectAll(StripBlockComments, {
                                      {gbk + "/*" + gbk + "*/" + gbk, gbk + gbk},
                                      {utf8 + "/* " + utf8 + " */\r\n" + utf8, utf8 + utf8},
                                      {std::string("\0/*\0*/\0", 7), std::string("\0\0", 2)},
                                  });
}

TEST(CommentPasses, TogetherGiveTheExpectedSource) {
    const std::string source =
        "/* header\r\n"
        " * // not a line comment here\r\n"
        " */\r\n"
        "#include <stdio.h>\r\n"
        "\r\n"
        "int main() {  // entry\r\n"
        "    int x = 1; /* one */\r\n"
        "\t\r\n"
        "    return f(/* arg */ x);\r\n"
        "}\r\n";
    // The "//" inside the header comment leaves " * " of its line; the comment closes below.
    EXPECT_EQ(StripBlockComments(StripLineCommentsFromText(source)),
              "#include <stdio.h>\r\n"
              "int main() {  \r\n"
              "    int x = 1; \t\r\n"
              "    return f( x);\r\n"
              "}");
}

TEST(CommentPasses, DoubleSlashOnTheClosingLineSwallowsCodeUpToTheNextClose) {
    const std::string source = "/* a // b */\r\nint x;\r\n/* c */\r\nint y;";
    const std::string afterFirst = StripLineCommentsFromText(source);
    EXPECT_EQ(afterFirst, "/* a \r\nint x;\r\n/* c */\r\nint y;");
    EXPECT_EQ(StripBlockComments(afterFirst), "int y;");
}

}  // namespace
