#include "app/production/subtitle_step.h"

#include "app/production/production_test_view.h"
#include "app/project/clip_record.h"
#include "app/shell/region_list.h"
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

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SubtitleStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetExePath(corvane_test::bin_dir());
        root = corvane_test::scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(root);
        folders = {corvane_test::bin_dir(), root + "/work/", root + "/out/"};
        // A one-second PAL DVD stream, as the converter would have written it.
        const std::string made = corvane_test::fixture(
            "subtitle_step_pal.vob", {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25", "-t", "1", "-target",
                                      "pal-dvd", "-an"});
        vob = root + "/OutputVOB_0.vob";
        fs::copy_file(made, vob);
        srt = root + "/Tom & Jerry.srt";
        std::ofstream(srt) << "1\n00:00:00,200 --> 00:00:00,900\nHello\n";
        auto clip = std::make_unique<project::TClipInfo>();
        clip->vobFile = vob;
        clip->subtitleFile = srt;
        clip->subtitleFontSize = 22;
        clips.append(std::move(clip));
    }

    int streams(const std::string &file, const std::string &codec)
    {
        const auto result = corvane_test::run_command(
            {"ffprobe", "-v", "error", "-show_entries", "stream=codec_name", "-of", "csv=p=0", file});
        int count = 0;
        std::istringstream lines(result.output);
        for (std::string line; std::getline(lines, line);)
            count += line == codec;
        return count;
    }

    std::string root, vob, srt;
    RunFolders folders;
    RecordingView view;
    project::ClipInfo clips;
    shell::RegionList regions = shell::RegionList::program();
};

TEST_F(SubtitleStepTest, ScriptResults)
{
    ProductionRun run(view, folders);
    ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
    SubtitleStep step(run, clips, regions);

    project::TClipInfo none;
    EXPECT_EQ(step.WriteSubtitleScript(none), 0);
    project::TClipInfo missing;
    missing.subtitleFile = root + "/gone.srt";
    EXPECT_EQ(step.WriteSubtitleScript(missing), -1);

    ASSERT_EQ(step.WriteSubtitleScript(clips[0]), 1);
    EXPECT_EQ(step.muxPaths().input, vob);
    EXPECT_EQ(step.muxPaths().output, root + "/OutputVOB_0_srt.vob");
    EXPECT_EQ(step.muxPaths().control, run.folders().workFolder + "subtitle.xml");
    EXPECT_EQ(readFile(run.folders().workFolder + "subtitle.srt"), readFile(srt));
    const std::string xml = readFile(run.folders().workFolder + "subtitle.xml");
    EXPECT_NE(xml.find("<subpictures format=\"PAL\">\r\n"), std::string::npos);
    EXPECT_NE(xml.find("fontsize=\"22\" font=\"/"), std::string::npos);  // a real font file
    EXPECT_TRUE(view.logged("OutputVOB_0.vob <<<< Tom & Jerry.srt"));
}

TEST_F(SubtitleStepTest, MuxAddsASubpictureStream)
{
    ProductionRun run(view, folders);
    ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
    SubtitleStep step(run, clips, regions);
    ASSERT_TRUE(step.run()) << view.log.back();
    EXPECT_TRUE(view.logged("Start to mux subtitle to VOB file >>>"));
    EXPECT_EQ(streams(vob, "dvd_subtitle"), 1);
    EXPECT_FALSE(fs::exists(root + "/OutputVOB_0_srt.vob"));
    EXPECT_EQ(clips[0].vobFile, vob);
}

TEST_F(SubtitleStepTest, FailedMuxKeepsTheVob)
{
    const std::string before = readFile(vob);
    MuxPaths paths{vob, root + "/OutputVOB_0_srt.vob", root + "/no_such_control.xml"};
    EXPECT_EQ(RunSpumux(folders.programFolder, paths), 0);
    EXPECT_EQ(readFile(vob), before);
    EXPECT_FALSE(fs::exists(paths.output));

    const std::string empty = root + "/nolib/";
    fs::create_directories(empty);
    EXPECT_EQ(RunSpumux(empty, paths), 2);
    EXPECT_EQ(readFile(vob), before);
}

TEST_F(SubtitleStepTest, StepOutcomes)
{
    {
        folders.programFolder = root + "/nolib/";
        fs::create_directories(folders.programFolder);
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kMuxProcessWrong);
    }
    {
        clips[0].subtitleFile = root + "/gone.srt";
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kMuxParameterWrong);
        EXPECT_EQ(view.log.back(), "<<< Mux parameter wrong");
    }
}

} // namespace
} // namespace vt::production
