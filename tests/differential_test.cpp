// The fast passes and readers against plain versions written straight from the rules, on many
// random texts made of the bytes that matter.
#include <gtest/gtest.h>

#include <random>

#include "files/byte_scan.h"
#include "files/mdlPub.h"
#include "processing/comment_passes.h"
#include "tests/line_list.h"
#include "tests/literal_model.h"
#include "tests/plain_model.h"

namespace {

// Dense texts hit every rule; sparse, longer ones also give the scans long stretches without a
// marker, with markers at every offset of a machine word.
std::string RandomText(std::mt19937& random, bool sparse) {
    static const char kAlphabet[] = {'/', '*', '\r', '\n', ' ', '\t', 'a', '\0', '\xd6'};
    std::string text(random() % (sparse ? 200 : 40), ' ');
    for (char& c : text) {
        c = sparse && random() % 8 != 0 ? 'a' : kAlphabet[random() % sizeof kAlphabet];
    }
    return text;
}

TEST(AgainstPlainModel, PassesAndLineReaderAgreeOnRandomTexts) {
    std::mt19937 random(7);
    for (int round = 0; round < 200000; ++round) {
        const std::string text = RandomText(random, round % 2 == 1);
        ASSERT_EQ(ReadAllLines(text), plain_model::Lines(text)) << testing::PrintToString(text);
        ASSERT_EQ(StripLineCommentsFromText(text), plain_model::StripLineComments(text))
            << testing::PrintToString(text);
        ASSERT_EQ(StripBlockComments(text), plain_model::StripBlockComments(text))
            << testing::PrintToString(text);
    }
}

bool PlainEveryLineEndIsCrLf(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const bool crLfAt = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if ((text[i] == '\r' && !crLfAt) || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))) {
            return false;
        }
    }
    return true;
}

// Lines ending in CR LF, half of them with one byte changed to a CR or LF, so that the line ends
// fall at every place of the scan's 16-byte blocks and across their borders.
TEST(AgainstPlainModel, CrLfCheckAgreesOnLongTexts) {
    std::mt19937 random(11);
    for (int round = 0; round < 50000; ++round) {
        const size_t size = random() % 120;
        std::string text;
        while (text.size() < size) {
            text += std::string(random() % 20, 'a') + "\r\n";
        }
        if (round % 2 == 1 && !text.empty()) {
            text[random() % text.size()] = random() % 2 == 0 ? '\r' : '\n';
        }
        ASSERT_EQ(byte_scan::EveryLineEndIsCrLf(text), PlainEveryLineEndIsCrLf(text))
            << testing::PrintToString(text);
    }
}

// Line ends at every place of the 16-byte blocks, copied with CR LF to a buffer of their own and
// over themselves (the result starting as many bytes before the source as it has LFs).
TEST(AgainstPlainModel, CopyWithCrLfPutsACrBeforeEachLf) {
    std::mt19937 random(12);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (size_t size = random() % 100; text.size() < size;) {
            text += std::string(random() % 20, 'a') + (random() % 8 == 0 ? "\r" : "\n");
        }
        std::string expected;
        for (const char c : text) {
            expected += c == '\n' ? "\r\n" : std::string(1, c);
        }
        const size_t lfs = byte_scan::Count(text, 0, text.size(), '\n');
        ASSERT_EQ(lfs, expected.size() - text.size()) << testing::PrintToString(text);
        std::string apart(expected.size() + 16, '?');
        apart.resize(byte_scan::CopyWithCrLf(text.data(), text.size(), apart.data()));
        ASSERT_EQ(apart, expected) << testing::PrintToString(text);
        std::string over = std::string(lfs, '?') + text;
        over.resize(byte_scan::CopyWithCrLf(over.data() + lfs, text.size(), over.data()));
        ASSERT_EQ(over, expected) << testing::PrintToString(text);
    }
}

// Texts crowded with what the literal-aware passes look at: quotes, prefixes, raw strings,
// digits, splices, directives and markers.
std::string RandomCode(std::mt19937& random) {
    static const char* const kPieces[] = {
        "/", "*", "\"", "'", "\\", "\r", "\n", "\r\n", " ", "\t", "a", "1", "e", ".", "+", "R",
        "u8", "L", "(", ")", "x(", ")x", "#", "include ", "<", ">", "\"\"\"", "\xef\xbb\xbf",
        // Splices after blanks, and what a Java escape can stand for.
        "\\ ", "\\\t\n", "\f", "%:", "__has_include", "u", "\\u002f", "\\u0022", "\\u000a",
        "\\u005c", "\\uu002a"};
    // Sparse texts: long stretches of short plain lines, which the passes pass over in whole
    // blocks.
    static const char* const kPlain[] = {"ab", "x", " ", "\t", "\n", "\r\n", "cdefgh"};
    const bool sparse = random() % 4 == 0;
    std::string text;
    for (size_t n = random() % (sparse ? 300 : 30); n > 0; --n) {
        text += sparse && random() % 16 != 0 ? kPlain[random() % std::size(kPlain)]
                                             : kPieces[random() % std::size(kPieces)];
    }
    return text;
}

TEST(AgainstLiteralModel, PassesAgreeOnRandomCode) {
    // Beside random code: a comment left open after a spliced line, running to the text's end.
    const std::string kOpenComment = "#define F x+\\\n/** c)\\\t\n\n\n";
    std::mt19937 random(13);
    for (int round = 0; round < 100000; ++round) {
        const std::string text = round < 4 ? kOpenComment : RandomCode(random);
        StripOptions options;
        options.literals = true;
        options.language = round % 2 == 0 ? SourceLanguage::CFamily : SourceLanguage::Java;
        options.keepHeader = round % 4 >= 2;
        AnsiText fast = text;
        StripLineCommentsInPlace(fast, options);
        ASSERT_EQ(fast, literal_model::StripLineComments(text, options))
            << testing::PrintToString(text) << " java " << (round % 2) << " header "
            << options.keepHeader;
        AnsiText second = text;
        StripBlockCommentsInPlace(second, options);
        ASSERT_EQ(second, literal_model::StripBlockComments(text, options))
            << testing::PrintToString(text) << " java " << (round % 2) << " header "
            << options.keepHeader;
        // Both kinds in one sweep: what the second pass leaves of the first one's result.
        options.lineEnd = round % 8 < 4 ? "\r\n" : "\n";
        AnsiText sequential = text;
        StripLineCommentsInPlace(sequential, options);
        StripBlockCommentsInPlace(sequential, options);
        AnsiText once = text;
        StripCommentsInPlace(once, options);
        ASSERT_EQ(once, sequential) << testing::PrintToString(text) << " java " << (round % 2)
                                    << " header " << options.keepHeader;
    }
}

// A text cut at a line start and stripped in two parts gives what it gives in one piece.
TEST(AgainstLiteralModel, TextsCutInTwoGiveTheOnePieceResult) {
    // Beside random code: a second part that leaves nothing, after a kept blank line; a line
    // starting with what would be a byte order mark at a text's start.
    const std::string kHard[] = {"a\\\n\n// c", "a\n\xef\xbb\xbf#define X /* c\n */ y\n"};
    std::mt19937 random(17);
    size_t cuts = 0;
    size_t taken = 0;
    for (int round = 0; round < 500; ++round) {
        const std::string text =
            round < 2 * std::ssize(kHard) ? kHard[round / 2] : RandomCode(random);
        StripOptions options;
        options.literals = true;
        options.language = round % 2 == 0 ? SourceLanguage::CFamily : SourceLanguage::Java;
        options.lineEnd = round % 4 < 2 ? "\r\n" : "\n";
        const auto agreeing = literal_model::CutsAgreeingWithOnePiece(text, options, 16);
        ASSERT_TRUE(agreeing) << testing::PrintToString(text) << " java " << (round % 2);
        taken += *agreeing;
        cuts += std::min<size_t>(16, std::count_if(text.begin(), text.end(),
                                                   [](char c) { return c == '\r' || c == '\n'; }));
    }
    // Most line ends are places to cut: the parts were really stripped apart.
    EXPECT_GT(taken, cuts / 4);
}

}  // namespace
