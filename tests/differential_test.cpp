// The fast passes and readers against plain versions written straight from the rules, on many
// random texts made of the bytes that matter.
#include <gtest/gtest.h>

#include <random>

#include "files/mdlPub.h"
#include "processing/comment_passes.h"
#include "tests/line_list.h"
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

}  // namespace
