#include "platform/paths.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using vt::test::TempFolder;
namespace fs = std::filesystem;

TEST(PathsTest, ExePathIsTheProgramFolderWithTrailingSlash)
{
    const std::string exe = vt::ExePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.back(), '/');
    EXPECT_TRUE(fs::is_directory(exe));
}

TEST(PathsTest, ResolvesNamesWithoutRegardToCaseExactFirst)
{
    TempFolder tmp;
    tmp.write("VIDEO_TS/VTS_01_0.IFO", "ifo");
    tmp.write("Lang/English.ini", "a");
    tmp.write("Lang/english.ini", "b");

    EXPECT_EQ(vt::resolveCaseInsensitive(tmp.path() + "video_ts/vts_01_0.ifo"), tmp.path() + "VIDEO_TS/VTS_01_0.IFO");
    EXPECT_EQ(vt::resolveCaseInsensitive(tmp.path() + "lang/english.ini"), tmp.path() + "Lang/english.ini");
    EXPECT_EQ(vt::resolveCaseInsensitive(tmp.path() + "Lang/English.ini"), tmp.path() + "Lang/English.ini");
    EXPECT_EQ(vt::resolveCaseInsensitive(tmp.path() + "LANG/"), tmp.path() + "Lang/");
    EXPECT_EQ(vt::resolveCaseInsensitive(tmp.path() + "Lang/French.ini"), "");
}

TEST(PathsTest, ListsFolderSortedWithoutFollowingLinks)
{
    TempFolder tmp;
    tmp.write("b.ini", "");
    tmp.write("A.ini", "");
    tmp.write("c/x", "");
    fs::create_directory_symlink(tmp.path() + "c", tmp.path() + "a-link");

    const auto entries = vt::listFolder(tmp.path());
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "a-link");
    EXPECT_TRUE(entries[0].isSymlink);
    EXPECT_FALSE(entries[0].isDirectory);
    EXPECT_EQ(entries[1].name, "A.ini");
    EXPECT_EQ(entries[2].name, "b.ini");
    EXPECT_EQ(entries[3].name, "c");
    EXPECT_TRUE(entries[3].isDirectory);
    EXPECT_TRUE(vt::listFolder(tmp.path() + "missing").empty());
}

TEST(PathsTest, WritableFoldersFollowTheProgramFolder)
{
    TempFolder tmp;
    const std::string saved = vt::ExePath();

    vt::SetExePath(tmp.path() + "bin");
    fs::create_directories(tmp.path() + "bin");
    EXPECT_EQ(vt::settingsFolder(), tmp.path() + "bin/");
    EXPECT_EQ(vt::workFolder(), tmp.path() + "bin/Temp/");

    // A read-only program folder sends writes to the XDG folders and reads
    // fall back to the shipped copy.
    if (::geteuid() != 0) {
        tmp.write("bin/Option.ini", "[Option]\n");
        fs::permissions(tmp.path() + "bin", fs::perms::owner_read | fs::perms::owner_exec);
        ::setenv("XDG_CONFIG_HOME", (tmp.path() + "config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (tmp.path() + "cache").c_str(), 1);
        EXPECT_EQ(vt::settingsFolder(), tmp.path() + "config/vantorel/");
        EXPECT_EQ(vt::workFolder(), tmp.path() + "cache/vantorel/Temp/");
        EXPECT_EQ(vt::settingsFileForReading("Option.ini"), tmp.path() + "bin/Option.ini");
        EXPECT_EQ(vt::settingsFileForWriting("Option.ini"), tmp.path() + "config/vantorel/Option.ini");
        tmp.write("config/vantorel/Option.ini", "");
        EXPECT_EQ(vt::settingsFileForReading("Option.ini"), tmp.path() + "config/vantorel/Option.ini");
        fs::permissions(tmp.path() + "bin", fs::perms::owner_all);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_CACHE_HOME");
    }
    vt::SetExePath(saved);
}

TEST(PathsTest, SameOrInsideComparesNormalisedPaths)
{
    EXPECT_TRUE(vt::isSameOrInside("/a/b/", "/a/b"));
    EXPECT_TRUE(vt::isSameOrInside("/a/b/c/../d", "/a/b/"));
    EXPECT_FALSE(vt::isSameOrInside("/a/bc", "/a/b"));
    EXPECT_FALSE(vt::isSameOrInside("/a", "/a/b"));
    EXPECT_FALSE(vt::isSameOrInside("", "/a"));
}

} // namespace
