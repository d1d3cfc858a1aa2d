#include "app/production/authoring_step.h"

#include "app/production/production_test_view.h"
#include "app/project/clip_record.h"
#include "app/common/region_list.h"
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vt::production {
namespace {

namespace fs = std::filesystem;

class AuthoringStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetExePath(corvane_test::bin_dir());
        root = corvane_test::scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(root);
        fs::create_directories(root);
        folders = {corvane_test::bin_dir(), root + "/work/", root + "/out/"};
        const std::string made = corvane_test::fixture(
            "authoring_step_pal.vob", {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25", "-f", "lavfi", "-i",
                                       "sine=sample_rate=48000", "-t", "1", "-target", "pal-dvd"});
        auto clip = std::make_unique<project::ClipRecord>();
        clip->vobFile = root + "/OutputVOB_0.vob";
        fs::copy_file(made, clip->vobFile);
        clip->end = 1;
        clips.append(std::move(clip));
    }

    std::string root;
    RunFolders folders;
    RecordingView view;
    project::ClipRecordList clips;
    common::RegionList regions = common::RegionList::program();
};

TEST_F(AuthoringStepTest, MakesTheDvdFolderNamedAfterTheLabel)
{
    ProductionRun run(view, folders);
    RunChoices choices;
    choices.ntsc = false;
    choices.volumeLabel = "my disc";
    ASSERT_TRUE(run.PrepareRun(choices));
    AuthoringStep step(run, clips, regions, 0);
    ASSERT_TRUE(step.run()) << view.log.back();
    EXPECT_EQ(step.dvdFolder(), folders.outputFolder + "MY_DISC");
    EXPECT_EQ(step.videoTsPath(), folders.outputFolder + "MY_DISC/VIDEO_TS/");
    EXPECT_TRUE(IsDvdFolder(step.dvdFolder()));
    EXPECT_TRUE(view.logged("Start to author DVD file >>>"));
    EXPECT_TRUE(view.logged("Start to author DVD directory >>>"));

    std::ifstream in(step.authorXmlPath(), std::ios::binary);
    std::stringstream xml;
    xml << in.rdbuf();
    EXPECT_EQ(xml.str().rfind("<dvdauthor dest=\"" + folders.outputFolder + "MY_DISC\" format=\"pal\">\r\n", 0), 0u);
}

// A failed run removes the DVD folder it began, and only that one: an earlier
// disc of the same label stays, and the next run does not move on to "_1".
TEST_F(AuthoringStepTest, FailedAuthoringIsOutcome13AndRemovesItsFolder)
{
    const std::string earlier = folders.outputFolder + "DVD_DISC/VIDEO_TS/VIDEO_TS.IFO";
    fs::create_directories(folders.outputFolder + "DVD_DISC/VIDEO_TS");
    std::ofstream(earlier) << "an earlier disc";
    clips[0].vobFile = root + "/missing.vob";
    ProductionRun run(view, folders);
    ASSERT_TRUE(run.PrepareRun(RunChoices()));
    AuthoringStep step(run, clips, regions, 0);
    EXPECT_FALSE(step.run());
    EXPECT_EQ(run.outcome(), kAuthorProcessWrong);
    EXPECT_EQ(view.log.back(), "<<< Author DVD process wrong");
    EXPECT_EQ(step.dvdFolder(), folders.outputFolder + "DVD_DISC_1");
    EXPECT_FALSE(fs::exists(step.dvdFolder()));
    EXPECT_TRUE(fs::exists(earlier));
}

TEST_F(AuthoringStepTest, MissingLibraryIsOutcome14AndUnwritableScript12)
{
    {
        folders.programFolder = root + "/nolib/";
        fs::create_directories(folders.programFolder);
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices()));
        AuthoringStep step(run, clips, regions, 0);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kAuthorCannotStart);
    }
    {
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices()));
        fs::remove_all(root + "/work");  // the work folder vanished under the run
        AuthoringStep step(run, clips, regions, 0);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kAuthorParameterWrong);
    }
}

TEST_F(AuthoringStepTest, TitlesHoldAtMost99Chapters)
{
    clips[0].fileName = "/videos/long talk.mp4";
    clips[0].duration = 3600;
    clips[0].setTimes(0, 3600);
    const std::pair<int, bool> cases[] = {{99, true}, {100, false}, {150, false}};
    for (const auto &[count, accepted] : cases) {
        std::vector<int32_t> times;
        for (int i = 0; i < count; ++i)
            times.push_back(i * 10);
        clips[0].chapters = project::TSubChapter::fromTimes(times);
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        AuthoringStep step(run, clips, regions, 0);
        EXPECT_EQ(step.checkChapters(), accepted) << count;
        if (!accepted) {
            EXPECT_EQ(run.outcome(), kChapterParameterWrong);
            EXPECT_TRUE(view.logged("long talk.mp4 has " + std::to_string(count) +
                                    " chapters; a DVD title holds at most 99."));
        }
    }
}

TEST(AuthoringPercent, OfTheTotalVobSize)
{
    EXPECT_EQ(AuthoringPercent(48, 100), 48);
    EXPECT_EQ(AuthoringPercent(3, 0), 300);  // VOBs not found: the total counts as 1 MB
    EXPECT_EQ(AuthoringPercent(2000000, 4000000), 50);
}

} // namespace
} // namespace vt::production
