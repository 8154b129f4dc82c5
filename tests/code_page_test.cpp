#include "files/code_page.h"

#include <gtest/gtest.h>

#include "files/utf8.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TEST(DecodeUtf8Lossy, DecodesWellFormedTextAndReplacesEachBadByte) {
    EXPECT_EQ(DecodeUtf8Lossy(""), u"");
    EXPECT_EQ(DecodeUtf8Lossy("a\r\nb"), u"a\r\nb");
    EXPECT_EQ(DecodeUtf8Lossy("\xe4\xb8\xad\xe6\x96\x87"), u"\u4e2d\u6587");
    EXPECT_EQ(DecodeUtf8Lossy("\xef\xbb\xbf"
                              "x"),
              u"\ufeffx");
    EXPECT_EQ(DecodeUtf8Lossy("\xf0\x9f\x98\x80"), u"\U0001F600");
    EXPECT_EQ(DecodeUtf8Lossy("\xd6\xd0"), u"\ufffd\ufffd");            // GBK is not UTF-8
    EXPECT_EQ(DecodeUtf8Lossy("a\xe4\xb8"), u"a\ufffd\ufffd");          // cut short at the end
    EXPECT_EQ(DecodeUtf8Lossy("\xc0\xaf"), u"\ufffd\ufffd");            // overlong '/'
    EXPECT_EQ(DecodeUtf8Lossy("\xed\xa0\x80"), u"\ufffd\ufffd\ufffd");  // a surrogate
    EXPECT_EQ(DecodeUtf8Lossy(std::string("a\0b", 3)), u"a\ufffdb");
}

TEST(EncodeUtf8, RoundTripsThroughTheDecoder) {
    const std::wstring text = L"C:\\\u4e2d\u6587\\\u00e9\U0001F600.c";
    EXPECT_EQ(DecodeUtf8Lossy(EncodeUtf8(text)), ToDisplayText(text));
    EXPECT_EQ(EncodeUtf8(L"\u4e2d"), "\xe4\xb8\xad");
    // A high surrogate takes only a low one as its pair.
    EXPECT_EQ(EncodeUtf8(std::wstring{static_cast<wchar_t>(0xD800), L'a'}),
              "\xef\xbf\xbd"
              "a");
    // The strict decoder takes back what was encoded, and nothing ill-formed.
    std::wstring decoded;
    EXPECT_TRUE(DecodeUtf8Strict(EncodeUtf8(text), decoded));
    EXPECT_EQ(decoded, text);
    EXPECT_FALSE(DecodeUtf8Strict("a\xc0\xaf", decoded));
}

TEST(ToDisplayText, GivesUtf16WhateverTheWidthOfWchar) {
    EXPECT_EQ(ToDisplayText(L""), u"");
    EXPECT_EQ(ToDisplayText(L"C:\\out\\a.c"), u"C:\\out\\a.c");
    // A character beyond U+FFFF becomes a surrogate pair, as Windows would hold it.
    EXPECT_EQ(ToDisplayText(L"\u4e2d\U0001F600.c"), u"\u4e2d\U0001F600.c");
    EXPECT_EQ(ToDisplayText(L"\U0001F600"), (DisplayText{0xD83D, 0xDE00}));
}

#ifdef _WIN32
TEST(DecodeForDisplay, UsesTheAnsiCodePage1252) {
    ASSERT_EQ(GetACP(), 1252u) << "these tests run where the ANSI code page is 1252";
    EXPECT_EQ(DecodeForDisplay("caf\xe9 \x80"), u"caf\u00e9 \u20ac");
    EXPECT_EQ(DecodeForDisplay(std::string("a\0b", 3)), u"a\ufffdb");
    EXPECT_EQ(DecodeForDisplay("\xe4\xb8\xad"), u"\u00e4\u00b8\u00ad");
}
#else
TEST(DecodeForDisplay, ReadsUtf8) {
    EXPECT_EQ(DecodeForDisplay("\xe4\xb8\xad \xff"), u"\u4e2d \ufffd");
}
#endif

TEST(DecodeForDisplay, HandlesTextLargerThanOnePiece) {
    std::string big;
    // Pieces are 16 MiB: this is 18 MB.
    for (int i = 0; i < 1300000; ++i) {
        big += "line of text\r\n";
    }
    big += "\xff";
    const DisplayText text = DecodeForDisplay(big);
    ASSERT_GT(big.size(), size_t{1} << 24);
    ASSERT_EQ(text.size(), big.size());
    EXPECT_EQ(text.substr(0, 14), u"line of text\r\n");
    EXPECT_EQ(text.substr((size_t{1} << 24) / 14 * 14, 14), u"line of text\r\n");
#ifndef _WIN32
    EXPECT_EQ(text.back(), u'\ufffd');
#endif
}

}  // namespace
