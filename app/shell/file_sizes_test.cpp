#include "app/common/file_name.h"
#include "app/common/file_sizes.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace vt::shell;
using vt::test::TempFolder;

TEST(FileSizesTest, FileSizesIn64Bits)
{
    TempFolder tmp;
    // A sparse 5 GB file: beyond 32 bits without using the disk.
    const std::string big = tmp.path() + "big.vob";
    const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, int64_t(5) << 30), 0);
    ::close(fd);

    EXPECT_EQ(FileSize(big), int64_t(5) << 30);
    EXPECT_EQ(FileSize(tmp.write("small", std::string(2047, 'x'))), 2047);
    EXPECT_EQ(FileSize(tmp.path() + "missing"), 0);
    EXPECT_EQ(FileSize(tmp.path()), 0);
}

TEST(FileSizesTest, FolderSizeAddsEveryFileBelowWithoutFollowingLinks)
{
    TempFolder tmp;
    tmp.write("dvd/VIDEO_TS/VTS_01_1.VOB", std::string(1000, 'v'));
    tmp.write("dvd/VIDEO_TS/VTS_01_0.IFO", std::string(24, 'i'));
    tmp.write("dvd/readme", std::string(6, 'r'));
    tmp.write("outside/huge", std::string(5000, 'o'));
    std::filesystem::create_directory_symlink(tmp.path() + "outside", tmp.path() + "dvd/link");
    std::filesystem::create_directory_symlink(tmp.path() + "dvd", tmp.path() + "dvd/VIDEO_TS/loop");

    uint64_t total = 10;
    FolderSize(tmp.path() + "dvd", total);
    EXPECT_EQ(total, 10u + 1000 + 24 + 6);
}

TEST(FileNameTest, DropsOnlyTheLastExtension)
{
    struct Case {
        const char *path, *expected;
    } cases[] = {
        {"/a/clip.avi", "/a/clip"}, {"/a/b.c/clip", "/a/b.c/clip"}, {"clip.tar.gz", "clip.tar"},
        {"/a/.hidden", "/a/.hidden"}, {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FileNameWithoutExtension(c.path), c.expected) << c.path;
}

} // namespace
