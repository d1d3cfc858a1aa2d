#include "app/project/clip_probe.h"

#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::project {
namespace {

TEST(ProbeClip, RealLibraryGivesFactsAndFirstPicture)
{
    const std::string clip = corvane_test::clip_pal_4_3();
    ProbeResult result = ProbeClip(clip, false, corvane_test::bin_dir());
    ASSERT_TRUE(result.clip) << result.error;
    const ClipRecord &info = *result.clip;
    EXPECT_EQ(info.fileName, clip);
    EXPECT_EQ(info.duration, 3);
    EXPECT_NEAR(info.frameRate, 25.0, 0.01);
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
    EXPECT_EQ(info.end, 3);
    EXPECT_FALSE(info.letterbox);
    EXPECT_GT(info.sampleRate, 0);
    EXPECT_EQ(info.snapshot.width(), info.displayWidth);
    EXPECT_EQ(info.snapshot.height(), info.displayHeight);
    EXPECT_FALSE(info.preview.isNull());
}

// The DVD-ready VOB files of the compiler: coded 720 wide and flagged 16:9,
// so the record shows them at 720 × 405 and the snapshot fills that shape
// edge to edge.
TEST(ProbeClip, WideDvdVobsAreShownAtTheirDisplayShape)
{
    struct Case {
        const char *name, *target, *size, *rate;
    } cases[] = {
        {"wide_ntsc.vob", "ntsc-dvd", "720x480", "30000/1001"},
        {"wide_pal.vob", "pal-dvd", "720x576", "25"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string vob = corvane_test::fixture(
            c.name, {"-f", "lavfi", "-i", std::string("color=c=0x30c060:size=") + c.size + ":rate=" + c.rate, "-t",
                     "2", "-target", c.target, "-aspect", "16:9"});
        ProbeResult result = ProbeClip(vob, true, corvane_test::bin_dir());
        ASSERT_TRUE(result.clip) << result.error;
        const ClipRecord &clip = *result.clip;
        EXPECT_EQ(clip.aspectCode, 3);
        EXPECT_EQ(QSize(clip.displayWidth, clip.displayHeight), QSize(720, 405));
        EXPECT_NEAR(clip.displayAspect, 16.0 / 9.0, 0.01);
        ASSERT_EQ(clip.snapshot.size(), QSize(720, 405));
        for (const QPoint edge : {QPoint(360, 0), QPoint(360, 404), QPoint(0, 202), QPoint(719, 202)})
            EXPECT_GT(qGreen(clip.snapshot.pixel(edge)), 120) << edge.x() << "," << edge.y();
    }
}

TEST(ProbeClip, UnreadableFilesAreRefused)
{
    const std::string text = corvane_test::scratch_dir() + "/not_a_video.avi";
    std::ofstream(text) << "hello";
    ProbeResult result = ProbeClip(text, true, corvane_test::bin_dir());
    EXPECT_FALSE(result.clip);
    EXPECT_FALSE(result.error.empty());

    result = ProbeClip(corvane_test::clip_pal_4_3(), true, corvane_test::scratch_dir());
    EXPECT_FALSE(result.clip);
    EXPECT_NE(result.error.find("converter library"), std::string::npos);
}

TEST(ProbeClip, ScriptedLibraryFactsAndAnamorphicProgressive)
{
    const std::string clip = corvane_test::scratch_dir() + "/wide.mkv";
    std::ofstream(clip) << "x";
    std::ofstream(clip + ".facts") << "[facts]\nduration=600\nframerate=25\nvideobitrate=4000\nwidth=720\n"
                                      "height=576\naspect=3\nsamplerate=48000\nchannels=2\naudiobitrate=192\n"
                                      "progressive=1\n";
    ProbeResult result = ProbeClip(clip, true, corvane_test::test_lib_dir());
    ASSERT_TRUE(result.clip) << result.error;
    EXPECT_EQ(result.clip->duration, 600);
    EXPECT_FALSE(result.clip->interlaced);
    EXPECT_EQ(result.clip->displayHeight, 405);
    EXPECT_EQ(result.clip->previewWidth, 296);
    EXPECT_EQ(result.clip->previewHeight, 168);
    EXPECT_EQ(result.clip->snapshot.size(), QSize(720, 405));  // anamorphic: stretched to its shape
}

TEST(SameNamedSubtitle, FindsEitherCase)
{
    const std::string folder = corvane_test::scratch_dir() + "/srt_lookup/";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "a.avi") << "x";
    std::ofstream(folder + "a.SRT") << "x";
    std::ofstream(folder + "b.avi") << "x";
    EXPECT_EQ(SameNamedSubtitle(folder + "a.avi"), folder + "a.SRT");
    EXPECT_EQ(SameNamedSubtitle(folder + "b.avi"), "");
}

} // namespace
} // namespace vt::project
