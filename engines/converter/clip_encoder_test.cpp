// X_MpegEnc through the loaded library: every output is checked with ffprobe
// and authored with the real dvdauthor.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/queue_target.h"
#include "engines/converter/test_support/test_media.h"

using namespace corvane_test;
namespace fs = std::filesystem;

namespace {

class ClipEncoderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.load(bin_dir() + "/libCorvane.so")) << lib.module.error(); }

    static std::string output(const std::string &name) { return scratch_dir() + "/" + name + ".vob"; }

    // Checks a finished VOB against the DVD rules and the expected shape.
    static void expect_dvd_vob(const std::string &vob, bool ntsc, const std::string &aspect, double seconds)
    {
        auto video = probe_entries(vob, "v:0", "codec_name,width,height,r_frame_rate,display_aspect_ratio");
        EXPECT_EQ(video["codec_name"], "mpeg2video");
        EXPECT_EQ(video["width"], "720");
        EXPECT_EQ(video["height"], ntsc ? "480" : "576");
        EXPECT_EQ(video["r_frame_rate"], ntsc ? "30000/1001" : "25/1");
        EXPECT_EQ(video["display_aspect_ratio"], aspect);
        auto audio = probe_entries(vob, "a:0", "codec_name,sample_rate,channels");
        EXPECT_EQ(audio["codec_name"], "ac3");
        EXPECT_EQ(audio["sample_rate"], "48000");
        EXPECT_EQ(audio["channels"], "2");
        auto format = probe_entries(vob, "", "duration");
        EXPECT_NEAR(std::atof(format["duration"].c_str()), seconds, 0.5);
        EXPECT_EQ(dvdauthor_problems(vob, ntsc), "");
        // GOPs within the DVD limit of 15 (PAL) or 18 (NTSC) pictures, and no
        // short ones from extra I pictures (in coding order the first GOP,
        // with no B-pictures before its I picture, holds 13 or 16).
        std::vector<int> keys = key_packet_positions(vob);
        ASSERT_GE(keys.size(), 2u);
        for (size_t i = 1; i < keys.size(); ++i) {
            EXPECT_LE(keys[i] - keys[i - 1], ntsc ? 18 : 15);
            EXPECT_GE(keys[i] - keys[i - 1], ntsc ? 16 : 13);
        }
    }

    CorvaneLibrary lib;
};

struct EncodeCase {
    const char *name;
    std::string (*clip)();
    bool ntsc;
    const char *aspect;
    const char *picture_size; // "" for the frame size
    const char *start;
    const char *duration;
    double seconds;
};

const EncodeCase kCases[] = {
    {"pal_4_3_source", clip_pal_4_3, false, "4:3", "", "0", "0", 3},
    {"ntsc_16_9_source", clip_h264_16_9, true, "16:9", "", "0", "0", 2},
    {"pal_letterboxed", clip_h264_16_9, false, "4:3", "720:432", "0", "0", 2},
    {"ntsc_16_9_pillarboxed", clip_pal_4_3, true, "16:9", "540:480", "0", "0", 3},
    {"interlaced_ntsc_to_pal", clip_ntsc_interlaced, false, "4:3", "", "0", "0", 2},
    {"anamorphic_to_16_9", clip_anamorphic_16_9, false, "16:9", "", "0", "0", 2},
    {"no_sound", clip_silent, false, "4:3", "", "0", "0", 2},
    {"surround_sound", clip_surround, true, "4:3", "", "0", "0", 2},
    {"trimmed_range", clip_pal_4_3, false, "4:3", "", "1", "1", 1},
    {"from_start_to_end", clip_pal_4_3, true, "4:3", "", "2", "0", 1},
};

} // namespace

TEST_F(ClipEncoderTest, ConvertsToAuthorableDvdStreams)
{
    for (const EncodeCase &c : kCases) {
        SCOPED_TRACE(c.name);
        MpegEncCall call;
        call.source = c.clip();
        call.output = output(c.name);
        call.aspect = c.aspect;
        call.start = c.start;
        call.duration = c.duration;
        if (c.ntsc)
            call.ntsc();
        if (*c.picture_size)
            call.picture_size = c.picture_size;
        ASSERT_EQ(call.run(lib, nullptr), 0);
        expect_dvd_vob(call.output, c.ntsc, c.aspect, c.seconds);
    }
}

TEST_F(ClipEncoderTest, LetterboxBarsAreBlackAndCentred)
{
    MpegEncCall call;
    call.source = clip_h264_16_9();
    call.output = output("bars");
    call.picture_size = "720:432";
    ASSERT_EQ(call.run(lib, nullptr), 0);
    CommandResult luma = run_command({"ffmpeg", "-nostdin", "-v", "error", "-i", call.output, "-frames:v", "1",
                                      "-f", "rawvideo", "-pix_fmt", "gray", "-"});
    ASSERT_EQ(luma.output.size(), 720u * 576u);
    auto row_mean = [&](int row) {
        long sum = 0;
        for (int x = 0; x < 720; ++x)
            sum += static_cast<uint8_t>(luma.output[row * 720 + x]);
        return sum / 720;
    };
    // (576 - 432) / 2 = 72 lines of black above and below the picture.
    for (int row : {0, 60, 515, 575})
        EXPECT_LE(row_mean(row), 20) << "row " << row;
    for (int row : {90, 288, 480})
        EXPECT_GT(row_mean(row), 40) << "row " << row;
}

TEST_F(ClipEncoderTest, InterlacedSourceKeepsItsFieldsUnlessDeinterlacedOrScaled)
{
    struct {
        const char *name;
        bool ntsc;
        int deinterlace;
        const char *field_order;
    } cases[] = {
        {"same_size_fields_kept", true, 0, "tt"},
        {"deinterlace_asked", true, 1, "progressive"},
        {"scaled_480_to_576_deinterlaced", false, 0, "progressive"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MpegEncCall call;
        call.source = clip_ntsc_interlaced();
        call.output = output(c.name);
        if (c.ntsc)
            call.ntsc();
        call.deinterlace = c.deinterlace;
        ASSERT_EQ(call.run(lib, nullptr), 0);
        EXPECT_EQ(probe_entries(call.output, "v:0", "field_order")["field_order"], c.field_order);
        EXPECT_EQ(dvdauthor_problems(call.output, c.ntsc), "");
    }
}

TEST_F(ClipEncoderTest, AudioDelayShiftsTheSound)
{
    MpegEncCall call;
    call.source = clip_pal_4_3();
    call.output = output("delayed");
    call.audio_delay_ms = "500";
    ASSERT_EQ(call.run(lib, nullptr), 0);
    // The first half second of sound is silence, the tone follows.
    auto peak_db = [&](const char *range) {
        CommandResult detected = run_command({"ffmpeg", "-nostdin", "-i", call.output, "-map", "0:a", "-af",
                                              std::string("atrim=") + range + ",volumedetect", "-f", "null", "-"});
        size_t at = detected.output.find("max_volume: ");
        return at == std::string::npos ? 0.0 : std::atof(detected.output.c_str() + at + 12);
    };
    EXPECT_LT(peak_db("0:0.45"), -80.0);
    EXPECT_GT(peak_db("0.6:1.5"), -30.0);
}

TEST_F(ClipEncoderTest, PumpsReportsProgressAndPostsStartAndEnd)
{
    // Quality 0 codes in two passes: its progress still runs once from
    // start to end.
    for (int quality : {2, 0}) {
        SCOPED_TRACE(quality);
        QueueTarget queue;
        std::vector<int32_t> seconds_seen;
        queue.on_pump([&] {
            int32_t info[4] = {};
            lib.get_info(info);
            seconds_seen.push_back(info[0]);
        });
        MpegEncCall call;
        call.source = clip_pal_4_3();
        call.output = output("progress_q" + std::to_string(quality));
        call.quality = quality;
        ASSERT_EQ(call.run(lib, queue.target()), 0);
        EXPECT_GT(queue.pump_calls(), 0);
        EXPECT_EQ(queue.count(CORVANE_MSG_READY), 1u);
        // Posted last, delivered by the window's next pump.
        EXPECT_TRUE(queue.wait_for(CORVANE_MSG_STOPPED, 1, std::chrono::seconds(1)));
        EXPECT_TRUE(std::is_sorted(seconds_seen.begin(), seconds_seen.end()));
        int32_t info[4] = {};
        lib.get_info(info);
        EXPECT_EQ(info[0], 3);
        // 75 pictures over 76 frame times: the AVI holds its first picture
        // for two (an empty chunk at index 1).
        EXPECT_EQ(info[2], 76);
        EXPECT_EQ(info[3], 100);
    }
}

TEST_F(ClipEncoderTest, StopEndsSoonWithAPlayablePartialFile)
{
    QueueTarget queue;
    std::chrono::steady_clock::time_point stopped_at;
    bool stopped = false;
    queue.on_pump([&] {
        int32_t info[4] = {};
        lib.get_info(info);
        if (!stopped && info[0] >= 2) {
            stopped = true;
            stopped_at = std::chrono::steady_clock::now();
            lib.stop_convert();
        }
    });
    MpegEncCall call;
    call.source = clip_long();
    call.output = output("stopped");
    call.quality = 2;
    ASSERT_EQ(call.run(lib, queue.target()), 0);
    ASSERT_TRUE(stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped_at, std::chrono::seconds(1));
    double seconds = std::atof(probe_entries(call.output, "", "duration")["duration"].c_str());
    EXPECT_GT(seconds, 1.5);
    EXPECT_LT(seconds, 15.0);
    EXPECT_EQ(probe_entries(call.output, "v:0", "codec_name")["codec_name"], "mpeg2video");
    EXPECT_EQ(dvdauthor_problems(call.output, false), "");
}

TEST_F(ClipEncoderTest, RefusesBadArgumentsWithoutWritingAFile)
{
    struct BadCase {
        const char *name;
        void (*spoil)(MpegEncCall &);
    } cases[] = {
        {"other_interface_version", [](MpegEncCall &c) { c.abi = CORVANE_ABI_VERSION + 1; }},
        {"missing_source", [](MpegEncCall &c) { c.source = scratch_dir() + "/nothing.avi"; }},
        {"ntsc_rate_for_pal", [](MpegEncCall &c) { c.frame_rate = "30000/1001"; }},
        {"picture_larger_than_frame", [](MpegEncCall &c) { c.picture_size = "720:600"; }},
        {"quality_out_of_range", [](MpegEncCall &c) { c.quality = 3; }},
        {"odd_aspect", [](MpegEncCall &c) { c.aspect = "2:1"; }},
        {"sound_only_source", [](MpegEncCall &c) { c.source = sound_only(); }},
        {"output_folder_missing", [](MpegEncCall &c) { c.output = scratch_dir() + "/no/such/folder.vob"; }},
        {"no_such_video_stream", [](MpegEncCall &c) { c.video_stream = "4"; }},
        {"audio_stream_is_not_sound", [](MpegEncCall &c) { c.source = clip_pal_4_3(); c.audio_stream = "0"; }},
    };
    for (const BadCase &c : cases) {
        SCOPED_TRACE(c.name);
        MpegEncCall call;
        call.source = clip_silent();
        call.output = output(c.name);
        c.spoil(call);
        EXPECT_EQ(call.run(lib, nullptr), -1);
        EXPECT_FALSE(fs::exists(call.output));
    }
}

TEST_F(ClipEncoderTest, EveryQualityKeepsTheVideoBufferAndPeakRateOnNoise)
{
    // Grain over the whole frame, the hardest content for the rate control;
    // at 80 it needs the coarsest steps the encoder's matrices allow. Each
    // quality at its own rate, and the rates a fit to disc chooses between
    // (1500 to 8000 kbit/s); quality 0 codes in two passes.
    struct {
        int strength;
        int quality;
        const char *kbps;
    } cases[] = {
        {60, 0, "5000"}, {60, 1, "3000"}, {60, 2, "2500"},
        {80, 0, "5000"}, {80, 1, "3000"}, {80, 2, "2500"},
        {80, 0, "8000"}, {80, 1, "8000"}, {80, 2, "8000"},
        {80, 0, "1500"}, {80, 1, "1500"},
    };
    for (const auto &c : cases) {
        const std::string level = std::to_string(c.strength);
        const std::string noise = fixture(
            "noise" + level + ".mkv",
            {"-f", "lavfi", "-i", "testsrc2=size=720x576:rate=25:duration=2,noise=alls=" + level + ":allf=t",
             "-c:v", "mpeg2video", "-q:v", "4", "-pix_fmt", "yuv420p"});
        const std::string name = "noise" + level + "_q" + std::to_string(c.quality) + "_" + c.kbps;
        SCOPED_TRACE(name);
        MpegEncCall call;
        call.source = noise;
        call.output = output(name);
        call.quality = c.quality;
        call.video_kbps = c.kbps;
        ASSERT_EQ(call.run(lib, nullptr), 0);
        VideoBufferCheck buffer = check_video_buffer(call.output);
        EXPECT_GE(buffer.pictures, 48);
        EXPECT_EQ(buffer.underflows, 0);
        EXPECT_LE(buffer.average_kbps, 9000);
        EXPECT_EQ(dvdauthor_problems(call.output, false), "");
    }
}

TEST_F(ClipEncoderTest, SurroundIsDownmixedWithoutClipping)
{
    // Every channel carries the same tone at -3 dBFS: a downmix that adds
    // them up unscaled goes far past full scale.
    for (const char *layout : {"5.1", "7.1"}) {
        SCOPED_TRACE(layout);
        const std::string source = fixture(
            std::string("loud_") + layout + ".mkv",
            {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
             std::string("aevalsrc=exprs=0.707*sin(2*PI*440*t):channel_layout=") + layout + ":sample_rate=48000:duration=2",
             "-c:v", "mpeg4", "-c:a", "flac"});
        MpegEncCall call;
        call.source = source;
        call.output = output(std::string("downmix_") + layout);
        ASSERT_EQ(call.run(lib, nullptr), 0);
        SoundLevels levels = sound_levels(call.output);
        EXPECT_LT(levels.peak_db, -0.5);
        EXPECT_GT(levels.peak_db, -12.0);
        // A sine keeps its 3 dB between peak and RMS; a clipped one loses it.
        EXPECT_NEAR(levels.peak_db - levels.rms_db, 3.0, 0.5);
    }
}

TEST_F(ClipEncoderTest, ConvertsTheFirstSoundTrackOfSeveral)
{
    MpegEncCall call;
    call.source = clip_two_sound_tracks();
    call.output = output("first_sound_track");
    ASSERT_EQ(call.run(lib, nullptr), 0);
    // The first track holds the tone; the second, at a higher rate, is silent.
    EXPECT_GT(sound_levels(call.output).peak_db, -30.0);
    EXPECT_EQ(dvdauthor_problems(call.output, false), "");
}

TEST_F(ClipEncoderTest, RotatedClipsAreTurnedUprightBeforeScaling)
{
    // Each clip shows a white half; turned upright a 90 or 270 degree clip is
    // a 180x320 portrait, pillarboxed on 4:3 PAL to 304:576 as the program
    // asks. Points are probed in the output frame: one in the white half,
    // its mirror image in the black half.
    struct {
        int degrees;
        const char *picture_size;
        int white_x, white_y, black_x, black_y;
    } cases[] = {
        {90, "304:576", 360, 500, 360, 76},
        {180, "720:576", 540, 288, 180, 288},
        {270, "304:576", 360, 76, 360, 500},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.degrees);
        MpegEncCall call;
        call.source = clip_rotated(c.degrees);
        call.output = output("rotated_" + std::to_string(c.degrees));
        call.picture_size = c.picture_size;
        ASSERT_EQ(call.run(lib, nullptr), 0);
        CommandResult luma = run_command({"ffmpeg", "-nostdin", "-v", "error", "-i", call.output, "-frames:v", "1",
                                          "-f", "rawvideo", "-pix_fmt", "gray", "-"});
        ASSERT_EQ(luma.output.size(), 720u * 576u);
        auto at = [&](int x, int y) { return static_cast<uint8_t>(luma.output[y * 720 + x]); };
        EXPECT_GT(at(c.white_x, c.white_y), 200);
        EXPECT_LT(at(c.black_x, c.black_y), 40);
        // Pillarbox bars stay black.
        EXPECT_LT(at(20, 288), 40);
        EXPECT_EQ(dvdauthor_problems(call.output, false), "");
    }
}

TEST_F(ClipEncoderTest, StreamsStartTogetherAndStayInSync)
{
    // The flash and the beep of each clip fall at the same moment; the
    // converted clip must start both streams together (or dvdauthor refuses
    // the VOB) and keep them in step, with sound that runs on without gaps
    // over slipped stamps and missing sound.
    struct {
        const char *name;
        std::string (*clip)();
        const char *start;
        const char *duration;
        double flash; // seconds into the converted clip
    } cases[] = {
        {"late_video", clip_late_video, "0", "0", 1.0},
        {"transport_stream_trimmed", clip_transport_stream, "3", "0", 0.5},
        {"transport_stream_range", clip_transport_stream, "3", "2", 0.5},
        {"transport_stream_whole", clip_transport_stream, "0", "0", 3.5},
        {"sound_stamps_slip", clip_sound_stamps_slip, "0", "0", 2.5},
        {"sound_gap", clip_sound_gap, "0", "0", 2.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MpegEncCall call;
        call.source = c.clip();
        call.output = output(c.name);
        call.start = c.start;
        call.duration = c.duration;
        ASSERT_EQ(call.run(lib, nullptr), 0);
        EXPECT_EQ(dvdauthor_problems(call.output, false), "");
        auto video = probe_entries(call.output, "v:0", "start_time");
        auto audio = probe_entries(call.output, "a:0", "start_time");
        EXPECT_NEAR(std::atof(video["start_time"].c_str()), std::atof(audio["start_time"].c_str()), 0.04);
        const double flash = flash_seconds(call.output);
        EXPECT_NEAR(flash, c.flash, 0.021);
        EXPECT_NEAR(beep_seconds(call.output), flash, 0.04);
    }
}

TEST_F(ClipEncoderTest, EveryPictureOfTheSourceIsConvertedOnce)
{
    // The frame times a file's pictures cover at its rate: from the first
    // picture to the end of the last one. A gap in the timestamps is a
    // picture held (an AVI's empty chunk repeats the one before).
    auto slots = [](const std::string &file, double rate) {
        CommandResult times = run_command({"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                                           "frame=best_effort_timestamp_time", "-of", "csv=p=0", file});
        std::vector<double> seconds;
        for (size_t at = 0; at < times.output.size();) {
            size_t end = times.output.find('\n', at);
            if (end == std::string::npos)
                end = times.output.size();
            if (end > at)
                seconds.push_back(std::atof(times.output.substr(at, end - at).c_str()));
            at = end + 1;
        }
        if (seconds.empty())
            return 0L;
        return std::lround((*std::max_element(seconds.begin(), seconds.end()) -
                            *std::min_element(seconds.begin(), seconds.end())) * rate) + 1;
    };
    const std::vector<std::string> fifty_fps = {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=50:duration=2"};
    const std::vector<std::string> b_pictures = {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2",
                                                 "-c:v", "mpeg4", "-bf", "2"};
    struct {
        const char *name;
        std::string source;
        const char *start;
        const char *duration;
        double rate;      // of the source
        long range_slots; // 0: the whole source
        int deinterlace;
    } cases[] = {
        {"mp4", clip_h264_16_9(), "0", "0", 25, 0, 0},
        {"avi_with_a_held_picture", clip_pal_4_3(), "0", "0", 25, 0, 0},
        {"avi_with_b_pictures", fixture("b_pictures.avi", b_pictures), "0", "0", 25, 0, 0},
        {"mkv", clip_anamorphic_16_9(), "0", "0", 25, 0, 0},
        {"ts", clip_transport_stream(), "0", "0", 25, 0, 0},
        {"mkv_50_fps", fixture("fifty.mkv", fifty_fps), "0", "0", 50, 0, 0},
        {"vob_ntsc_deinterlaced", clip_ntsc_interlaced(), "0", "0", 30000.0 / 1001, 0, 1},
        {"avi_range", clip_pal_4_3(), "1", "1", 25, 25, 0},
        {"ts_from_second_3", clip_transport_stream(), "3", "0", 25, 125, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MpegEncCall call;
        call.source = c.source;
        call.output = output(std::string("pictures_") + c.name);
        call.start = c.start;
        call.duration = c.duration;
        call.deinterlace = c.deinterlace;
        call.quality = 2;
        ASSERT_EQ(call.run(lib, nullptr), 0);
        const long in = c.range_slots > 0 ? c.range_slots : slots(c.source, c.rate);
        ASSERT_GT(in, 0);
        // The DVD stream is at a constant rate: its pictures are its frame times.
        CommandResult counted = run_command({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0",
                                             "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", call.output});
        EXPECT_EQ(std::atol(counted.output.c_str()), std::lround(in * 25 / c.rate)) << in << " frame times in";
    }
}
