#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "files/file_system.h"
#include "files/mdlPub.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(SaveText, WritesTheTextAndOneCrLf) {
    TempFolder folder;
    const Path path = folder.PathOf(L"out.c");
    ASSERT_TRUE(mdlPub::SaveText(path, "x"));
    EXPECT_EQ(ReadBytes(path), "x\r\n");
    ASSERT_TRUE(mdlPub::SaveText(path, ""));
    EXPECT_EQ(ReadBytes(path), "\r\n");
    const std::string binary("\0\xff\xef\xbb\xbf\x80\r\n\n\r", 10);
    ASSERT_TRUE(mdlPub::SaveText(path, binary));
    EXPECT_EQ(ReadBytes(path), binary + "\r\n");
    EXPECT_EQ(ListFolder(folder.Root()), L"out.c;");
}

TEST(SaveText, ReplacesAnExistingFileWhole) {
    TempFolder folder;
    const Path path = folder.Write(L"out.c", std::string(100000, 'o'));
    ASSERT_TRUE(mdlPub::SaveText(path, "short"));
    EXPECT_EQ(ReadBytes(path), "short\r\n");
    EXPECT_EQ(ListFolder(folder.Root()), L"out.c;");
}

TEST(SaveText, FailsWithoutTouchingAnythingWhenTheTargetCannotBeWritten) {
    TempFolder folder;
    // A missing folder.
    EXPECT_FALSE(mdlPub::SaveText(folder.PathOf(L"missing\\out.c"), "x"));
    // A folder where the file should be.
    fs::create_directory(folder.Root() / "taken.c");
    EXPECT_FALSE(mdlPub::SaveText(folder.PathOf(L"taken.c"), "x"));
    EXPECT_TRUE(fs::is_directory(folder.Root() / "taken.c"));
    // A read-only file keeps its contents.
    const Path readOnly = folder.Write(L"ro.c", "original");
    fs::permissions(OsPath(readOnly),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(mdlPub::SaveText(readOnly, "x"));
    EXPECT_EQ(ReadBytes(readOnly), "original");
    // An empty path and a path that names the folder itself.
    EXPECT_FALSE(mdlPub::SaveText(L"", "x"));
    EXPECT_FALSE(mdlPub::SaveText(folder.Root().wstring() + L"\\", "x"));
    // No temporary file is left behind by any of these.
    EXPECT_EQ(ListFolder(folder.Root()), L"ro.c;taken.c;");
}

TEST(SaveText, WorksForTheLongestFileNames) {
    // 250 characters: a temporary name made by lengthening the file's would be too long.
    TempFolder folder;
    const std::wstring name = std::wstring(248, L'n') + L".c";
    const Path path = folder.Write(name, "old");
    ASSERT_EQ(ReadBytes(path), "old");
    EXPECT_TRUE(mdlPub::SaveText(path, "new"));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(ListFolder(folder.Root()), name + L";");
}

TEST(SaveText, ReplacesTheSourceItselfSafely) {
    TempFolder folder;
    const Path source = folder.Write(L"1.cpp", "int a; // x\r\n");
    ASSERT_TRUE(mdlPub::SaveText(source, "int a; "));
    EXPECT_EQ(ReadBytes(source), "int a; \r\n");
    EXPECT_EQ(ListFolder(folder.Root()), L"1.cpp;");
}

TEST(WriteNewFile, WritesAFreshFileAndNeverAnExistingOne) {
    TempFolder folder;
    const Path path = folder.PathOf(L"new.c");
    ASSERT_TRUE(WriteNewFile(path, "x", "\r\n"));
    EXPECT_EQ(ReadBytes(path), "x\r\n");
    EXPECT_FALSE(WriteNewFile(path, "other", "\n"));
    EXPECT_EQ(ReadBytes(path), "x\r\n");
    EXPECT_FALSE(WriteNewFile(folder.PathOf(L"missing\\new.c"), "x"));
    EXPECT_EQ(ListFolder(folder.Root()), L"new.c;");
}

// Halves of odd sizes and of a byte: every byte lands where it stood, whether read in one piece or
// in two at once.
TEST(ReadWholeFile, ReadsEveryByteInOnePieceOrInTwo) {
    TempFolder folder;
    for (const size_t size :
         {size_t{0}, size_t{1}, size_t{2}, size_t{4097}, (size_t{3} << 20) + 1}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>(i + i / 251);
        }
        const Path path = folder.Write(L"in" + std::to_wstring(size) + L".c", bytes);
        for (const size_t readInTwoFrom : {size_t{0}, SIZE_MAX}) {
            AnsiText read = "left over";
            EXPECT_TRUE(ReadWholeFile(path, read, readInTwoFrom));
            EXPECT_TRUE(read == bytes) << size << " bytes, read in two from " << readInTwoFrom;
        }
    }
}

#ifndef _WIN32
// The disk filling up in the middle of a save, as a file size limit makes it: the write fails
// halfway, and the file being replaced, here the source itself, keeps every byte.
TEST(SaveText, AWriteFailingHalfwayLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string original(20000, 'o');
    const Path source = folder.Write(L"1.cpp", original);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);  // a failed write instead of a signal
    rlimit limit = previous;
    limit.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool saved = mdlPub::SaveText(source, std::string(16384, 'n'));
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(ReadBytes(source) == original);
    EXPECT_EQ(ListFolder(folder.Root()), L"1.cpp;");
}
#endif

}  // namespace
