// Checks that need the ANSI code page of Simplified Chinese (GBK, 936).
#include <windows.h>

#include <gtest/gtest.h>

#include "files/code_page.h"
#include "files/mdlPub.h"
#include "processing/comment_passes.h"
#include "tests/temp_folder.h"

namespace {

const std::string kZhong = "\xd6\xd0";  // 中 in GBK
const std::string kWen = "\xce\xc4";    // 文 in GBK

TEST(Gbk, IsTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 936u);
}

TEST(Gbk, DisplayTextShowsTheChineseCharacters) {
    EXPECT_EQ(DecodeForDisplay(kZhong + kWen + "\r\n// " + kZhong), u"中文\r\n// 中");
}

TEST(Gbk, UndecodableBytesBecomeReplacementCharacters) {
    // A UTF-8 byte-order mark is no GBK: EF BB reads as one character, BF before CR as none.
    const DisplayText shown = DecodeForDisplay("\xef\xbb\xbf\r\n" + kZhong + "\x80\xff");
    ASSERT_EQ(shown.size(), 7u);
    EXPECT_EQ(shown.substr(1), u"\ufffd\r\n中€\ufffd");
}

TEST(Gbk, CommentsAroundChineseTextAreRemovedAndTheBytesKept) {
    // GBK trail bytes are 0x40 and above, so no byte of a Chinese character reads as a marker.
    const std::string source = "int " + kZhong + " = 1; // " + kWen + "\r\n/* " + kZhong + kWen +
                               " */\r\n" + kWen + ";\r\n";
    TempFolder folder;
    const Path path = folder.Write(L"中文.c", source);
    const auto first = StripLineComments(path);
    ASSERT_TRUE(first.has_value());
    const std::string result = StripBlockComments(*first);
    EXPECT_EQ(result, "int " + kZhong + " = 1; \r\n" + kWen + ";");
    ASSERT_TRUE(mdlPub::SaveText(folder.PathOf(L"输出.c"), result));
    EXPECT_EQ(ReadBytes(folder.PathOf(L"输出.c")), result + "\r\n");
}

}  // namespace
