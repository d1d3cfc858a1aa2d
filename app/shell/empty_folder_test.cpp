#include "app/common/empty_folder.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using vt::test::TempFolder;
namespace fs = std::filesystem;

TEST(EmptyFolderTest, RemovesEverythingBelowAndKeepsTheFolder)
{
    TempFolder tmp;
    tmp.write("work/a.vob", "a");
    tmp.write("work/sub/deeper/b.xml", "b");
    tmp.write("work/sub/.hidden", "h");

    EXPECT_TRUE(vt::common::EmptyFolder(tmp.path() + "work"));
    EXPECT_TRUE(fs::is_directory(tmp.path() + "work"));
    EXPECT_TRUE(fs::is_empty(tmp.path() + "work"));
}

TEST(EmptyFolderTest, NeverFollowsSymbolicLinks)
{
    TempFolder tmp;
    tmp.write("keep/precious.txt", "p");
    tmp.write("work/x", "x");
    fs::create_directory_symlink(tmp.path() + "keep", tmp.path() + "work/dirlink");
    fs::create_symlink(tmp.path() + "keep/precious.txt", tmp.path() + "work/filelink");
    fs::create_directories(tmp.path() + "work/sub");
    fs::create_directory_symlink(tmp.path() + "keep", tmp.path() + "work/sub/deep");

    EXPECT_TRUE(vt::common::EmptyFolder(tmp.path() + "work/"));
    EXPECT_TRUE(fs::is_empty(tmp.path() + "work"));
    EXPECT_EQ(TempFolder::read(tmp.path() + "keep/precious.txt"), "p");
}

TEST(EmptyFolderTest, RefusesRootEmptyAndMissingFolders)
{
    TempFolder tmp;
    EXPECT_FALSE(vt::common::EmptyFolder(""));
    EXPECT_FALSE(vt::common::EmptyFolder("/"));
    EXPECT_FALSE(vt::common::EmptyFolder("//"));
    EXPECT_FALSE(vt::common::EmptyFolder(tmp.path() + "missing"));
    EXPECT_FALSE(vt::common::EmptyFolder(tmp.write("file", "f")));
}

} // namespace
