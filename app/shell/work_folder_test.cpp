#include "app/common/work_folder.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace vt::shell;
using vt::test::TempFolder;

TEST(WorkFolder, RefusesFoldersThatHoldSourcesOrOutputAndPlainFiles)
{
    TempFolder tmp;
    const std::string clip = tmp.write("media/clip.mp4", "video");
    const std::string file = tmp.write("notes.txt", "text");
    struct Case {
        const char *what;
        std::string named, output;
        const char *says;  // nullptr: accepted
    } const cases[] = {
        {"folder holding the source", tmp.path() + "media", tmp.path() + "out", "holds the source"},
        {"folder above the source", tmp.path(), tmp.path() + "../elsewhere", "holds the source"},
        {"the output folder itself", tmp.path() + "out", tmp.path() + "out", "lies in the work folder"},
        {"folder above the output", tmp.path() + "out", tmp.path() + "out/dvd", "lies in the work folder"},
        {"a plain file", file, tmp.path() + "out", "is a file, not a folder"},
        {"a plain file named as a folder", file + "/", tmp.path() + "out", "is a file, not a folder"},
        {"a relative path", "work", tmp.path() + "out", "not a full path"},
        {"a new folder beside them", tmp.path() + "work", tmp.path() + "out", nullptr},
        {"a folder inside the output", tmp.path() + "out/work", tmp.path() + "out", nullptr},
    };
    for (const Case &c : cases) {
        const std::string problem = WorkFolderProblem(c.named, {clip}, c.output);
        if (c.says)
            EXPECT_NE(problem.find(c.says), std::string::npos) << c.what << ": " << problem;
        else
            EXPECT_EQ(problem, "") << c.what;
    }
}

TEST(WorkFolder, EmptiesOnlyTheMarkedSubfolderOfANamedFolder)
{
    TempFolder tmp;
    const std::string named = tmp.path() + "scratch/";
    const std::string keep = tmp.write("scratch/holiday.mp4", "the user's own file");
    tmp.write("scratch/old/notes.txt", "more of the user's files");

    // A folder the program did not make is never emptied.
    EXPECT_FALSE(EmptyWorkFolder(named));
    EXPECT_TRUE(fs::exists(keep));

    const std::string own = OwnWorkFolder(named);
    EXPECT_EQ(own, named + kOwnWorkSubfolder);
    ASSERT_TRUE(MakeOwnWorkFolder(own));
    tmp.write("scratch/vantorel-work/author.xml", "<dvdauthor/>");
    tmp.write("scratch/vantorel-work/menus/Title.vob", "menu");
    ASSERT_TRUE(EmptyWorkFolder(own));

    EXPECT_TRUE(fs::exists(keep));
    EXPECT_TRUE(fs::exists(named + "old/notes.txt"));
    EXPECT_FALSE(fs::exists(own + "author.xml"));
    EXPECT_FALSE(fs::exists(own + "menus"));
    EXPECT_TRUE(IsOwnWorkFolder(own)) << "the marker stays";
    // Naming the marked folder itself uses it as it is.
    EXPECT_EQ(OwnWorkFolder(own), own);
}

TEST(WorkFolder, DoesNotAdoptAFolderOfSomeoneElsesThatHasTheName)
{
    TempFolder tmp;
    const std::string own = OwnWorkFolder(tmp.path());
    const std::string theirs = tmp.write("vantorel-work/report.odt", "not ours");
    EXPECT_FALSE(MakeOwnWorkFolder(own));
    EXPECT_FALSE(EmptyWorkFolder(own));
    EXPECT_TRUE(fs::exists(theirs));

    // An empty folder of that name is taken over.
    fs::remove(theirs);
    EXPECT_TRUE(MakeOwnWorkFolder(own));
    EXPECT_TRUE(IsOwnWorkFolder(own));
}

} // namespace
