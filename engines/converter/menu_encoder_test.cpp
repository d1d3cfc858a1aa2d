// X_SetPar_BMP2VOB through the loaded library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

using namespace corvane_test;
namespace fs = std::filesystem;

namespace {

class MenuEncoderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.load(bin_dir() + "/libCorvane.so")) << lib.module.error(); }

    // A 24-bit bitmap of the first picture of a lavfi source.
    static std::string background(const char *name, const char *source)
    {
        return fixture(name, {"-f", "lavfi", "-i", source, "-frames:v", "1", "-pix_fmt", "bgr24"});
    }
    static std::string music(const char *name, const char *seconds)
    {
        return fixture(name, {"-f", "lavfi", "-i", std::string("sine=frequency=330:duration=") + seconds, "-c:a",
                              "libmp3lame", "-b:a", "96k"});
    }

    int encode(bool ntsc, const std::string &bitmap, const char *duration, const char *aspect, const std::string &out,
               const std::string &with_music)
    {
        const char *frame = ntsc ? "720:480" : "720:576";
        bool has_music = with_music != "NoFile";
        return lib.bmp2vob(nullptr, ntsc ? 1 : 2, bitmap.c_str(), duration, frame, frame, aspect, out.c_str(),
                           has_music ? 1 : 0, with_music.c_str());
    }

    CorvaneLibrary lib;
};

double seconds_of(const std::string &vob)
{
    return std::atof(probe_entries(vob, "", "duration")["duration"].c_str());
}

} // namespace

TEST_F(MenuEncoderTest, MusicIsCutOrLoopedToTheMenuLength)
{
    struct {
        const char *name;
        bool ntsc;
        const char *aspect;
        std::string music;
    } cases[] = {
        {"longer_music_pal", false, "4/3", music("music12.mp3", "12")},
        {"shorter_music_ntsc", true, "16/9", music("music3.mp3", "3")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string bmp = c.ntsc ? background("menu480.bmp", "testsrc=size=720x480")
                                 : background("menu576.bmp", "testsrc=size=720x576");
        std::string out = scratch_dir() + "/" + c.name + ".vob";
        ASSERT_EQ(encode(c.ntsc, bmp, "10", c.aspect, out, c.music), 0);
        EXPECT_NEAR(seconds_of(out), 10.0, 0.1);
        auto video = probe_entries(out, "v:0", "codec_name,height,display_aspect_ratio");
        EXPECT_EQ(video["codec_name"], "mpeg2video");
        EXPECT_EQ(video["height"], c.ntsc ? "480" : "576");
        EXPECT_EQ(video["display_aspect_ratio"], c.ntsc ? "16:9" : "4:3");
        auto audio = probe_entries(out, "a:0", "codec_name,sample_rate,channels");
        EXPECT_EQ(audio["codec_name"], "ac3");
        EXPECT_EQ(audio["sample_rate"], "48000");
        EXPECT_EQ(audio["channels"], "2");
        EXPECT_EQ(dvdauthor_problems(out, c.ntsc), "");
        // Sound to the end: the 3-second music plays again from 3 s on.
        CommandResult late = run_command({"ffmpeg", "-nostdin", "-i", out, "-map", "0:a", "-af",
                                          "atrim=start=8:end=9.5,volumedetect", "-f", "null", "-"});
        const size_t at = late.output.find("max_volume: ");
        ASSERT_NE(at, std::string::npos) << late.output;
        EXPECT_GT(std::atof(late.output.c_str() + at + 12), -40.0) << late.output;
    }
}

TEST_F(MenuEncoderTest, WithoutMusicTheMenuHasSilentSound)
{
    std::string out = scratch_dir() + "/silent_menu.vob";
    ASSERT_EQ(encode(false, background("menu576.bmp", "testsrc=size=720x576"), "2", "4/3", out, "NoFile"), 0);
    EXPECT_NEAR(seconds_of(out), 2.0, 0.1);
    EXPECT_EQ(probe_entries(out, "a:0", "codec_name")["codec_name"], "ac3");
    CommandResult peak = run_command({"ffmpeg", "-nostdin", "-i", out, "-map", "0:a", "-af", "volumedetect", "-f",
                                      "null", "-"});
    EXPECT_NE(peak.output.find("max_volume: -91"), std::string::npos) << peak.output;
    EXPECT_EQ(dvdauthor_problems(out, false), "");
}

TEST_F(MenuEncoderTest, PicturesAreLimitedRangeAndScaledToTheFrame)
{
    // A white picture of another size: scaled to 720x576, white is luma 235.
    std::string out = scratch_dir() + "/white_menu.vob";
    ASSERT_EQ(encode(false, background("white.bmp", "color=c=white:size=640x480"), "1", "4/3", out, "NoFile"), 0);
    CommandResult luma = run_command({"ffmpeg", "-nostdin", "-v", "error", "-i", out, "-frames:v", "1", "-f",
                                      "rawvideo", "-pix_fmt", "yuv420p", "-"});
    ASSERT_EQ(luma.output.size(), 720u * 576u * 3 / 2); // the luma plane comes first, unconverted
    EXPECT_NEAR(static_cast<uint8_t>(luma.output[288 * 720 + 360]), 235, 3);
}

TEST_F(MenuEncoderTest, MissingInputsFailWithoutOutput)
{
    std::string bmp = background("menu576.bmp", "testsrc=size=720x576");
    std::string out = scratch_dir() + "/failed_menu.vob";
    EXPECT_EQ(encode(false, scratch_dir() + "/none.bmp", "2", "4/3", out, "NoFile"), -1);
    EXPECT_EQ(encode(false, bmp, "10", "4/3", out, scratch_dir() + "/none.mp3"), -1);
    EXPECT_EQ(encode(false, bmp, "0", "4/3", out, "NoFile"), -1);
    EXPECT_EQ(encode(false, bmp, "2", "5/4", out, "NoFile"), -1);
    EXPECT_FALSE(fs::exists(out));
}
