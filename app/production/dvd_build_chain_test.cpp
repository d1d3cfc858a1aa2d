#include "app/production/dvd_build_chain.h"

#include "app/production/production_test_view.h"
#include "app/project/clip_probe.h"
#include "app/project/clip_record.h"
#include "app/common/region_list.h"
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace vt::production {
namespace {

namespace fs = std::filesystem;

class DvdBuildChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetExePath(corvane_test::bin_dir());
        root = corvane_test::scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(root);
        fs::create_directories(root);
        folders = {corvane_test::bin_dir(), root + "/work/", root + "/out/"};
    }

    project::ClipRecord &addClip(const std::string &source)
    {
        project::ProbeResult probe = project::ProbeClip(source);
        EXPECT_TRUE(probe.clip) << probe.error;
        probe.clip->fileName = source;
        return clips.append(std::move(probe.clip));
    }

    int build(bool deleteVobs = false)
    {
        ProductionRun run(view, folders);
        DvdBuildChain chain(run, clips, regions, 0);
        chain.setDeleteConvertedVobs(deleteVobs);
        const int outcome = chain.run(RunChoices{false});
        dvdFolder = chain.dvdFolder();
        return outcome;
    }

    bool anyOutputVob() const
    {
        std::error_code error;
        for (const auto &entry : fs::directory_iterator(folders.outputFolder, error))
            if (entry.path().filename().string().rfind("OutputVOB_", 0) == 0)
                return true;
        return false;
    }

    std::string root, dvdFolder;
    RunFolders folders;
    RecordingView view;
    project::ClipRecordList clips;
    common::RegionList regions = common::RegionList::program();
};

TEST_F(DvdBuildChainTest, RefusesBeforeConverting)
{
    struct Case {
        const char *name;
        std::function<void()> arrange;
        int outcome;
        std::string logged;
    } const cases[] = {
        {"malformed subtitle file",
         [this] {
             std::ofstream(root + "/bad.srt") << "1\n00:00:01,000 --> 00:00:02,000\nHi\n\n2\n00:00:02 --> 00:00:03\n";
             clips[1].setSubtitleFile(root + "/bad.srt");
         },
         kMuxParameterWrong,
         "Subtitle file " + root + "/bad.srt, line 6: expected a time line such as \"00:00:01,000 --> 00:00:04,000\", "
                                   "found \"00:00:02 --> 00:00:03\"."},
        {"too many chapters",
         [this] {
             std::vector<int32_t> times;
             for (int i = 0; i < 120; ++i)
                 times.push_back(i);
             clips[1].duration = 200;
             clips[1].setTimes(0, 200);
             clips[1].chapters = project::TSubChapter::fromTimes(times);
         },
         kChapterParameterWrong, fs::path(corvane_test::clip_silent()).filename().string() +
                                     " has 120 chapters; a DVD title holds at most 99."},
        {"missing second source", [this] { clips[1].fileName = root + "/gone.mp4"; },
         kConversionParameterWrong, "Source file not found: " + root + "/gone.mp4"},
    };
    for (const Case &c : cases) {
        clips.clear();
        addClip(corvane_test::clip_red());
        addClip(corvane_test::clip_silent());
        c.arrange();
        EXPECT_EQ(build(), c.outcome) << c.name;
        EXPECT_TRUE(view.logged(c.logged)) << c.name << ": " << view.log[view.log.size() - 2];
        EXPECT_FALSE(anyOutputVob()) << c.name;
    }
}

TEST_F(DvdBuildChainTest, ConvertedVobsGoAfterAGoodDvdWhenAsked)
{
    for (const bool deleteVobs : {false, true}) {
        clips.clear();
        addClip(corvane_test::clip_red());
        ASSERT_EQ(build(deleteVobs), kProcessFinish) << view.log.back();
        EXPECT_TRUE(IsDvdFolder(dvdFolder));
        EXPECT_EQ(fs::exists(clips[0].vobFile), !deleteVobs) << clips[0].vobFile;
    }
}

} // namespace
} // namespace vt::production
