#include "app/project/clip_adding.h"

#include "app/common/ui_language.h"

#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::project {
namespace {

// The built-in texts, with no language file.
const vt::common::UiLanguage language {""};

// Files the scripted converter library accepts: a ".facts" sidecar each.
class ClipAddingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = corvane_test::scratch_dir() + "/" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::create_directories(folder);
        options.libraryFolder = corvane_test::test_lib_dir();
        options.progress = [this](const std::string &name) { shown.push_back(name); };
    }
    std::string clip(const std::string &name, int duration = 60)
    {
        std::ofstream(folder + name) << "x";
        std::ofstream(folder + name + ".facts") << "[f]\nduration=" << duration << "\nwidth=720\nheight=576\n";
        return folder + name;
    }

    std::string folder;
    AddClipsOptions options;
    std::vector<std::string> shown;
    ClipRecordList clips;
};

TEST_F(ClipAddingTest, UnusableFilesAreListedInOneMessage)
{
    const std::string bad = folder + "notes.txt";
    std::ofstream(bad) << "x";
    const AddClipsResult r = AddClips(clips, {bad, clip("a.avi"), clip("b.avi")}, options);
    EXPECT_EQ(clips.count(), 2);
    EXPECT_EQ(r.firstAdded, 0);
    EXPECT_EQ(r.failed, (std::vector<std::string>{bad}));
    EXPECT_EQ(shown, (std::vector<std::string>{"notes.txt", "a.avi", "b.avi"}));
    EXPECT_EQ(UnsupportedFilesMessage(language, r.failed), "Some UNSUPPORTED file(s) format can not add in. \n\n" + bad + "\n");
    EXPECT_EQ(UnsupportedFilesMessage(language, {}), "");
}

TEST_F(ClipAddingTest, SameNamedSubtitlesOnlyForOneOrTwoFilesInBuilderMode)
{
    for (const char *name : {"a", "b", "c"})
        std::ofstream(folder + name + ".srt") << "1\n";
    AddClips(clips, {clip("a.avi"), clip("b.avi")}, options);
    EXPECT_EQ(clips[0].subtitleFile, folder + "a.srt");
    EXPECT_EQ(clips[1].subtitleFile, folder + "b.srt");

    clips.clear();
    AddClips(clips, {clip("a.avi"), clip("b.avi"), clip("c.avi")}, options);
    EXPECT_EQ(clips[0].subtitleFile, "");

    clips.clear();
    options.builderMode = false;
    AddClips(clips, {clip("a.avi")}, options);
    EXPECT_EQ(clips[0].subtitleFile, "");
}

TEST_F(ClipAddingTest, DiscLimitAndTvSystemMessages)
{
    const DiscEstimate full = EstimateDiscSize(9000, 30720, DiscType::DVD5, 4403200, 8704000);
    EXPECT_EQ(DiscLimitMessage(language, full, DiscType::DVD5),
              "Exceeding the DVD-5 disc media limite size. Please select DVD-9 to continue!");
    EXPECT_EQ(DiscLimitMessage(language, EstimateDiscSize(9000, 30720, DiscType::DVD9, 4403200, 8704000), DiscType::DVD9), "");

    auto add = [&](const char *vob, int height, float rate) {
        auto record = std::make_unique<ClipRecord>();
        record->vobFile = vob;
        record->height = height;
        record->frameRate = rate;
        clips.append(std::move(record));
    };
    add("/v/n.vob", 480, 29.97f);
    add("/v/p.vob", 576, 25.0f);
    EXPECT_EQ(TvSystemMismatchMessage(language, clips),
              "Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n/v/n.vob\n"
              "The following clip(s) is(are) PAL : \n/v/p.vob\n");
    clips.removeAt(1);
    add("/v/film.vob", 480, 23.976f);  // film-rate NTSC goes with NTSC
    EXPECT_EQ(TvSystemMismatchMessage(language, clips), "");
    add("/v/p.vob", 576, 25.0f);
    add("/v/n2.vob", 480, 29.97f);
    EXPECT_EQ(TvSystemMismatchMessage(language, clips),
              "Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n/v/n.vob\n/v/film.vob\n"
              "/v/n2.vob\nThe following clip(s) is(are) PAL : \n/v/p.vob\n");
}

} // namespace
} // namespace vt::project
