// zif-run encode as a person runs it: a transcode whose streams ffprobe
// reads back with matching lengths, and clear failures for bad requests.
#include "plugins/ffmpeg/plugin_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using fftest::ffprobe;
using fftest::reportValue;

class ZifRunEncode : public fftest::PluginTest {};

TEST_F(ZifRunEncode, TranscodesPictureAndSoundToStreamsOfTheSameLength)
{
    // 10 s of 4:2:0 video at 25/s with 44.1 kHz stereo AAC.
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=160x120:rate=25:duration=10 -f lavfi "
                     "-i sine=frequency=440:sample_rate=44100:duration=10 -ac 2 -c:v mpeg4 -c:a aac av.mp4"));
    std::string out;
    ASSERT_EQ(fftest::runZifRun("encode '" + file("av.mp4") + "' '" + file("av.m2v") + "' audio='" + file("av.mp2") +
                                    "' bitrate=800000 gopsize=15 audio.samplerate=48000 audio.bitrate=192000",
                                &out),
              0)
        << out;
    std::string video = ffprobe(file("av.m2v"), "stream=codec_name,nb_read_frames", "-count_frames");
    EXPECT_EQ(reportValue(video, "codec_name"), "mpeg2video");
    EXPECT_EQ(reportValue(video, "nb_read_frames"), "250");
    std::string sound = ffprobe(file("av.mp2"), "stream=codec_name,sample_rate,nb_read_frames", "-count_frames");
    EXPECT_EQ(reportValue(sound, "sample_rate"), "48000");
    double soundSeconds = std::atof(reportValue(sound, "nb_read_frames").c_str()) * 1152 / 48000;
    EXPECT_NEAR(soundSeconds, 250 / 25.0, 1 / 25.0) << sound;
    EXPECT_NE(out.find("mpeg1.audio.mp2"), std::string::npos) << out;
}

TEST_F(ZifRunEncode, BadRequestsFailWithoutTouchingTheInput)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=0.2 -c:v mpeg4 v.mp4"));
    auto size = std::filesystem::file_size(file("v.mp4"));
    struct Case {
        std::string args;
        int status;
    };
    const Case cases[] = {
        {"encode '" + file("v.mp4") + "' '" + file("out.xyz") + "'", 2},                      // unknown extension
        {"encode '" + file("v.mp4") + "' '" + file("v.mp4") + "' format=mpeg2.video", 2},      // would overwrite
        {"encode '" + file("v.mp4") + "'", 2},                                                 // no output
        {"encode '" + file("missing.mp4") + "' '" + file("o.m2v") + "'", 1},                   // no input
        {"encode '" + file("v.mp4") + "' '" + file("o.mp2") + "'", 1},                         // no sound to encode
        {"encode '" + file("v.mp4") + "' '" + file("o.m2v") + "' twopass.pass=2 twopass.loguri=" + file("none.log"), 1},
    };
    for (const Case &c : cases) {
        std::string out;
        EXPECT_EQ(fftest::runZifRun(c.args, &out), c.status) << c.args;
    }
    EXPECT_EQ(std::filesystem::file_size(file("v.mp4")), size);
}

}  // namespace
