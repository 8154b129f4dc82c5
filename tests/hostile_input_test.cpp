// Unusual and hostile file contents through the whole run: it always ends, shows every stage and
// saves exactly the bytes the rules give.
#include <gtest/gtest.h>

#include "processing/processing_run.h"
#include "tests/plain_model.h"
#include "tests/fake_host.h"
#include "tests/temp_folder.h"

namespace {

class HostileInputTest : public ::testing::Test {
  protected:
    // Runs the source through a whole run and returns the saved bytes.
    std::string RunOn(const std::string& source) {
        const Path path = folder.Write(L"in.c", source);
        std::filesystem::create_directories(folder.Root() / "out");
        FakeHost host(path, folder.PathOf(L"out") + L"\\");
        host.AnswerYesNo({PromptAnswer::No});
        ProcessingRun(host);
        EXPECT_EQ(host.Prompts().size(), 4u);
        EXPECT_TRUE(host.Command1Enabled());
        return ReadBytes(folder.PathOf(L"out\\in.c"));
    }

    TempFolder folder;
};

TEST_F(HostileInputTest, SmallOddFilesFollowTheRules) {
    const std::string cases[] = {
        "",
        "\r",
        "\n",
        "\r\r\r",
        "\n\n\n",
        std::string("\0\0\r\n\0", 5),
        "\xef\xbb\xbf// bom\r\nint x;",
        "\xff\xfe\x80\x81/*\x90*/\x9f",
        "/*/",
        "*/*/*/",
        "////////",
    };
    for (const std::string& source : cases) {
        const std::string expected =
            plain_model::StripBlockComments(plain_model::StripLineComments(source)) + "\r\n";
        EXPECT_EQ(RunOn(source), expected) << testing::PrintToString(source);
    }
}

TEST_F(HostileInputTest, OneLineOfFiftyMegabytesComesThroughWhole) {
    std::string line(50 << 20, 'x');
    line[1000] = '/';  // lone slashes and stars are no markers
    line[2000] = '*';
    // Compared as a whole: a failure must not print 50 MB.
    EXPECT_TRUE(RunOn(line) == line + "\r\n");
}

TEST_F(HostileInputTest, FiveMillionEmptyLinesLeaveAnEmptyResult) {
    EXPECT_EQ(RunOn(std::string(5'000'000, '\n')), "\r\n");
}

TEST_F(HostileInputTest, AHundredThousandUnclosedCommentsDropEverythingAfterTheFirst) {
    std::string source = "keep";
    for (int i = 0; i < 100'000; ++i) {
        source += "/* open\r\n";
    }
    EXPECT_EQ(RunOn(source), "keep\r\n");
}

}  // namespace
