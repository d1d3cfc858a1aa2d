// X_GetFileinfo_GetPic and X_Get_Frame through the loaded library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

using namespace corvane_test;

namespace {

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.load(bin_dir() + "/libCorvane.so")) << lib.module.error(); }

    int probe(const std::string &path, int32_t *values)
    {
        std::vector<char> buffer(path.begin(), path.end());
        buffer.resize(buffer.size() + 10, '\0'); // the caller's writable copy with spare bytes
        return lib.get_file_info(buffer.data(), CORVANE_INFO_VALUES, values);
    }

    CorvaneLibrary lib;
};

struct ProbeCase {
    const char *name;
    std::string (*clip)();
    int width, height, aspect_code, progressive, duration;
    float frame_rate;
    int sample_rate, channels;
};

const ProbeCase kCases[] = {
    {"h264_16_9", clip_h264_16_9, 640, 360, 3, 1, 2, 25.0f, 44100, 2},
    {"ntsc_mpeg2_interlaced", clip_ntsc_interlaced, 720, 480, 2, 0, 2, 29.97f, 48000, 2},
    {"anamorphic_pal", clip_anamorphic_16_9, 720, 576, 3, 1, 2, 25.0f, 0, 0},
    {"avi_4_3", clip_pal_4_3, 320, 240, 2, 1, 3, 25.0f, 44100, 2},
    {"surround", clip_surround, 320, 240, 2, 1, 2, 25.0f, 44100, 6},
};

} // namespace

TEST_F(ProbeTest, FactsOfKnownClips)
{
    for (const ProbeCase &c : kCases) {
        SCOPED_TRACE(c.name);
        int32_t v[CORVANE_INFO_VALUES] = {};
        ASSERT_EQ(probe(c.clip(), v), 0);
        EXPECT_EQ(v[CORVANE_INFO_DURATION], c.duration);
        EXPECT_NEAR(float_value(v[CORVANE_INFO_FRAME_RATE]), c.frame_rate, 0.01);
        EXPECT_EQ(v[CORVANE_INFO_WIDTH], c.width);
        EXPECT_EQ(v[CORVANE_INFO_HEIGHT], c.height);
        EXPECT_EQ(v[CORVANE_INFO_ASPECT_CODE], c.aspect_code);
        EXPECT_EQ(v[CORVANE_INFO_SAMPLE_RATE], c.sample_rate);
        EXPECT_EQ(v[CORVANE_INFO_CHANNELS], c.channels);
        EXPECT_EQ(v[CORVANE_INFO_PROGRESSIVE], c.progressive);
        EXPECT_GT(float_value(v[CORVANE_INFO_VIDEO_BITRATE]), 0.0f);
        if (c.sample_rate > 0)
            EXPECT_GT(float_value(v[CORVANE_INFO_AUDIO_BITRATE]), 0.0f);
        else
            EXPECT_EQ(float_value(v[CORVANE_INFO_AUDIO_BITRATE]), 0.0f);
    }
}

TEST_F(ProbeTest, UnusableFilesAreRefused)
{
    std::string text = scratch_dir() + "/notes.avi";
    std::ofstream(text) << "not a video at all";
    const std::string files[] = {text, sound_only(), sound_with_cover(), clip_short(), scratch_dir() + "/missing.avi"};
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        int32_t v[CORVANE_INFO_VALUES] = {};
        EXPECT_EQ(probe(file, v), -1);
    }
}

TEST_F(ProbeTest, FirstFrameIsHandedOutInBlueGreenRedOrder)
{
    int32_t v[CORVANE_INFO_VALUES] = {};
    ASSERT_EQ(probe(clip_red(), v), 0);
    uint8_t *pixels = nullptr;
    int32_t second = -1;
    std::string bmp = scratch_dir() + "/2.bmp";
    ASSERT_EQ(lib.get_frame(10, 6, bmp.c_str(), &pixels, &second), 0);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(second, 0);
    for (int i = 0; i < 10 * 6; ++i) {
        EXPECT_LT(pixels[3 * i], 30);
        EXPECT_LT(pixels[3 * i + 1], 30);
        EXPECT_GT(pixels[3 * i + 2], 225);
    }
    // 24-bit bitmap, rows padded to 4 bytes: 54 + 6 * 32.
    EXPECT_EQ(std::filesystem::file_size(bmp), 54u + 6u * 32u);

    EXPECT_EQ(lib.get_frame(0, 6, nullptr, &pixels, &second), -1);
    EXPECT_EQ(pixels, nullptr);
}

TEST_F(ProbeTest, ListsEverySoundTrackAndReportsTheDefaultOne)
{
    decltype(&X_Get_SoundTracks) sound_tracks = nullptr;
    ASSERT_TRUE(lib.module.bind("X_Get_SoundTracks", sound_tracks)) << lib.module.error();
    int32_t values[CORVANE_INFO_VALUES] = {};
    ASSERT_EQ(probe(clip_two_sound_tracks(), values), 0);
    // The facts are those of the first (default) track, not of the richer one.
    EXPECT_EQ(values[CORVANE_INFO_CHANNELS], 1);
    EXPECT_NEAR(float_value(values[CORVANE_INFO_AUDIO_BITRATE]), 96.0f, 0.5f);

    CorvaneSoundTrack tracks[4] = {};
    ASSERT_EQ(sound_tracks(tracks, 4), 2);
    EXPECT_EQ(tracks[0].stream_index, 1);
    EXPECT_EQ(tracks[0].channels, 1);
    EXPECT_EQ(tracks[0].used, 1);
    EXPECT_STREQ(tracks[0].language, "eng");
    EXPECT_EQ(tracks[1].stream_index, 2);
    EXPECT_EQ(tracks[1].channels, 6);
    EXPECT_EQ(tracks[1].used, 0);
    EXPECT_STREQ(tracks[1].language, "fra");
    EXPECT_EQ(sound_tracks(nullptr, 0), 2);

    ASSERT_EQ(probe(clip_silent(), values), 0);
    EXPECT_EQ(sound_tracks(tracks, 4), 0);
}

TEST_F(ProbeTest, RotatedClipsAreReportedAndPicturedAsShown)
{
    // Where the white half of the turned picture lies, as the ffmpeg command
    // shows the file.
    enum Side { Left, Right, Top, Bottom };
    struct {
        int degrees;
        int width, height;
        Side white;
    } cases[] = {{0, 320, 180, Left}, {90, 180, 320, Bottom}, {180, 320, 180, Right}, {270, 180, 320, Top}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.degrees);
        int32_t values[CORVANE_INFO_VALUES] = {};
        ASSERT_EQ(probe(clip_rotated(c.degrees), values), 0);
        EXPECT_EQ(values[CORVANE_INFO_WIDTH], c.width);
        EXPECT_EQ(values[CORVANE_INFO_HEIGHT], c.height);
        uint8_t *pixels = nullptr;
        int32_t second = -1;
        ASSERT_EQ(lib.get_frame(c.width, c.height, nullptr, &pixels, &second), 0);
        auto green_at = [&](int x, int y) { return pixels[(y * c.width + x) * 3 + 1]; };
        int w = c.width, h = c.height;
        const int white_x = c.white == Left ? w / 4 : c.white == Right ? 3 * w / 4 : w / 2;
        const int white_y = c.white == Top ? h / 4 : c.white == Bottom ? 3 * h / 4 : h / 2;
        EXPECT_GT(green_at(white_x, white_y), 200);
        EXPECT_LT(green_at(w - 1 - white_x, h - 1 - white_y), 50);
    }
}
