#include "app/production/production_run.h"

#include "app/production/production_test_view.h"
#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace vt::production {
namespace {

TEST(ProductionParams, FromTheChoices)
{
    RunChoices choices;
    choices.ntsc = false;
    choices.aspect = kAspect16x9;
    choices.qualityIndex = 2;
    choices.deinterlace = true;
    choices.volumeLabel = "  my disc ";
    const ProductionParams p = MakeProductionParams(choices);
    EXPECT_EQ(p.VideoStandard, kPal);
    EXPECT_EQ(p.FrameSize, "720:576");
    EXPECT_EQ(p.FrameRate, "25");
    EXPECT_EQ(p.FrameHeight, 576);
    EXPECT_DOUBLE_EQ(p.PixelRatio, 1.25);
    EXPECT_EQ(p.DesignHeight, 404);
    EXPECT_EQ(p.AspectText, "16:9");
    EXPECT_EQ(p.AspectFraction, "16/9");
    EXPECT_EQ(p.VideoBitrate, "2500");
    EXPECT_EQ(p.Deinterlace, 1);
    EXPECT_EQ(p.VolumeLabel, "MY_DISC");

    choices = RunChoices();
    const ProductionParams n = MakeProductionParams(choices);
    EXPECT_EQ(n.FrameSize, "720:480");
    EXPECT_EQ(n.FrameRate, "30000/1001");
    EXPECT_DOUBLE_EQ(n.PixelRatio, 1.5);
    EXPECT_EQ(n.DesignHeight, 540);
    EXPECT_EQ(n.VideoBitrate, "3000");
}

TEST(ProductionParams, MinOutputSizeQualityHasTheLowestRate)
{
    // 0 "Larger Output Size", 1 "Shorter Converting Time", 2 "Min. Output Size".
    int rates[3] = {};
    for (int quality = 0; quality < 3; ++quality) {
        RunChoices choices;
        choices.qualityIndex = quality;
        rates[quality] = std::stoi(MakeProductionParams(choices).VideoBitrate);
    }
    EXPECT_GT(rates[0], rates[1]);
    EXPECT_GT(rates[1], rates[2]);
}

class ProductionRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = corvane_test::scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(root + "/work/sub");
        std::ofstream(root + "/work/sub/old.txt") << "old";
        folders = {root + "/program/", root + "/work/", root + "/out"};
        std::filesystem::create_directories(folders.programFolder);
    }

    std::string root;
    RunFolders folders;
    RecordingView view;
};

TEST_F(ProductionRunTest, PrepareAndEnd)
{
    ProductionRun run(view, folders, builtInTexts());
    ASSERT_TRUE(run.PrepareRun(RunChoices()));
    EXPECT_TRUE(run.busy());
    EXPECT_TRUE(std::filesystem::is_directory(root + "/out"));
    EXPECT_EQ(run.folders().outputFolder, root + "/out/");
    EXPECT_EQ(run.folders().workFolder, root + "/work/vantorel-work/");
    EXPECT_TRUE(view.logged("Data preparation >>>"));
    EXPECT_EQ(view.busyStates, (std::vector<bool>{true}));

    run.EndRun(kAuthorProcessWrong);
    EXPECT_FALSE(run.busy());
    EXPECT_EQ(view.log.back(), "<<< Author DVD process wrong");
    const size_t lines = view.log.size();
    run.EndRun(kOutcomeNone);
    EXPECT_EQ(view.log.size(), lines);
}

// The run works in a marked folder of its own inside the folder named and
// empties only that one; a named folder that holds a source or the output,
// or that is a file, is refused before anything is made.
TEST_F(ProductionRunTest, EmptiesOnlyItsOwnWorkFolder)
{
    const std::string clip = root + "/work/clip.mp4";
    std::ofstream(clip) << "the user's clip";
    {
        ProductionRun run(view, {folders.programFolder, root + "/work/", root + "/out"}, builtInTexts());
        EXPECT_FALSE(run.PrepareRun(RunChoices(), {clip}));
        EXPECT_TRUE(view.logged("The work folder " + root + "/work/ holds the source " + clip +
                                "; choose a work folder that holds neither sources nor output."));
    }
    ProductionRun run(view, folders, builtInTexts());
    ASSERT_TRUE(run.PrepareRun(RunChoices(), {root + "/clips/clip.mp4"}));
    const std::string own = run.folders().workFolder;
    std::ofstream(own + "author.xml") << "left from the last run";
    ASSERT_TRUE(run.PrepareRun(RunChoices(), {root + "/clips/clip.mp4"}));
    EXPECT_FALSE(std::filesystem::exists(own + "author.xml"));
    EXPECT_TRUE(std::filesystem::exists(clip));
    EXPECT_TRUE(std::filesystem::exists(root + "/work/sub/old.txt"));

    std::ofstream(root + "/plain") << "a file";
    for (const RunFolders &refused : {RunFolders{folders.programFolder, root + "/plain", root + "/out"},
                                      RunFolders{folders.programFolder, root + "/out", root + "/out"}}) {
        ProductionRun other(view, refused, builtInTexts());
        EXPECT_FALSE(other.PrepareRun(RunChoices())) << refused.workFolder;
        EXPECT_FALSE(std::filesystem::exists(folders.programFolder + "vantorel-work"));
        EXPECT_FALSE(std::filesystem::exists(root + "/out/vantorel-work"));
    }
}

TEST_F(ProductionRunTest, RefusesFolderNamesTheControlFilesCannotHold)
{
    struct Case {
        std::string output, work, says;
        const std::string &refused() const { return says.find("work folder") != std::string::npos ? work : output; }
    } const cases[] = {
        {root + "/out\nnext", root + "/work/",
         "The output folder name holds a line break or another control character: \"" + root + "/out\\nnext\""},
        {root + "/out\x01", root + "/work/", "The output folder name holds a line break"},
        {root + "/out", root + "/wo\trk/", "The work folder name holds a line break"},
        {root + "/caf\xE9", root + "/work/", "The output folder name is not valid UTF-8 text"},
    };
    for (const Case &c : cases) {
        ProductionRun run(view, {folders.programFolder, c.work, c.output}, builtInTexts());
        EXPECT_FALSE(run.PrepareRun(RunChoices())) << c.says;
        EXPECT_EQ(view.log.back().rfind(c.says, 0), 0u) << view.log.back();
        EXPECT_FALSE(std::filesystem::exists(c.refused())) << c.says;
        EXPECT_TRUE(std::filesystem::exists(root + "/work/sub/old.txt"));  // nothing emptied
    }
    // A name with spaces and non-ASCII letters is fine.
    ProductionRun run(view, {folders.programFolder, root + "/work/", root + "/Vid\xC3\xA9os & more"}, builtInTexts());
    EXPECT_TRUE(run.PrepareRun(RunChoices()));
}

TEST_F(ProductionRunTest, OutcomeTexts)
{
    EXPECT_EQ(RunOutcomeText(builtInTexts(), 0), "<<< User abort");
    EXPECT_EQ(RunOutcomeText(builtInTexts(), 1), "<<< Process finish");
    EXPECT_EQ(RunOutcomeText(builtInTexts(), 15), "<<< Can not start conversion process");
    EXPECT_EQ(RunOutcomeText(builtInTexts(), 17), "<<< Burning process wrong");
    EXPECT_EQ(RunOutcomeText(builtInTexts(), 18), "");
    EXPECT_EQ(RunOutcomeText(builtInTexts(), -1), "");
}

TEST_F(ProductionRunTest, ProgressIsClamped)
{
    ProductionRun run(view, folders, builtInTexts());
    run.ShowProgress(1, 140);
    run.ShowProgress(2, -3);
    EXPECT_EQ(view.progress, (std::vector<std::pair<int, int>>{{1, 100}, {2, 0}}));
}

TEST_F(ProductionRunTest, WorkerKeepsTheViewAliveAndReturnsItsResult)
{
    ProductionRun run(view, folders, builtInTexts());
    std::atomic<bool> release{false};
    int ticks = 0;
    run.muxTimer.setTick([&] {
        ++ticks;
        release = true;
    });
    run.muxTimer.enable();
    const int result = run.RunOnWorker([&] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return 42;
    });
    EXPECT_EQ(result, 42);
    EXPECT_GE(ticks, 1);  // the 500 ms timer ran on this thread while the worker waited
    EXPECT_GE(view.processEventsCalls, 5);
    EXPECT_FALSE(run.threadIsWorking());
}

TEST_F(ProductionRunTest, FixNoteOncePerRun)
{
    ProductionRun run(view, folders, builtInTexts());
    ASSERT_TRUE(run.PrepareRun(RunChoices()));
    EXPECT_TRUE(run.takeFixNote());
    EXPECT_FALSE(run.takeFixNote());
    ASSERT_TRUE(run.PrepareRun(RunChoices()));
    EXPECT_TRUE(run.takeFixNote());
}

} // namespace
} // namespace vt::production
