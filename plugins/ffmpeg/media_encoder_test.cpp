#include "plugins/ffmpeg/plugin_test_support.h"

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace {

using fftest::ffprobe;
using fftest::reportValue;

class Encoder : public fftest::PluginTest {
protected:
    // A content description for the file writer: the format and settings.
    zif_object *content(const char *mediatype, const char *format,
                        std::initializer_list<std::pair<const char *, int64_t>> settings = {})
    {
        zif_object *t = table(settings);
        zif_tableSetString(t, "portclass", "data");
        zif_tableSetString(t, "mediatype", mediatype);
        zif_tableSetString(t, "format", format);
        return t;
    }
    // clip -> decoder (video or sound only) -> [converters] -> encoder -> file writer at out.
    bool encode(const std::string &clip, bool video, zif_object *contentDescription, const std::string &out)
    {
        zif_object *extra = table({{video ? "wantaudio" : "wantvideo", 0}});
        uint64_t command = addCommand("file://" + file(clip), extra);
        zif_release(extra);
        EXPECT_EQ(connectDecoder(command), 1);
        zif_object *entries = zif_newTable(ctx);
        zif_tableSetString(entries, "uri", ("file://" + file(out)).c_str());
        zif_tableSetTable(entries, "contentdescription", contentDescription);
        bool ok = zif_graphAddNewStaticCommandNode(graph, "write", entries, "output", nullptr);
        zif_release(entries);
        zif_release(contentDescription);
        return ok && zif_graphBuild(graph) && runToEnd();
    }
    void restart()
    {
        TearDown();
        SetUp();
    }
};

TEST_F(Encoder, VideoFormatsKeepEveryPictureAndTheAskedGop)
{
    struct Case {
        const char *format, *codec, *out;
        int bframes;
        int width = 176, height = 144;
    } cases[] = {
        {"mpeg2.video", "mpeg2video", "a.m2v", 0},
        {"mpeg2.video", "mpeg2video", "b.m2v", 2},
        {"mpeg1.video", "mpeg1video", "c.m1v", 0},
        {"mpeg4.video.asp", "mpeg4", "d.m4v", 0},
        // An odd size, which not every MPEG-4 encoder takes.
        {"mpeg4.video.asp", "mpeg4", "e.m4v", 0, 321, 241},
    };
    for (const Case &c : cases) {
        restart();
        std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        ASSERT_TRUE(clip("-f lavfi -i testsrc=size=" + size + ":rate=25:duration=1 -c:v mpeg4 -q:v 3 clip.mp4"));
        ASSERT_TRUE(encode("clip.mp4", true, content("video", c.format, {{"gopsize", 6}, {"bframes", c.bframes}}), c.out))
            << c.out << " error " << zif_getLastError(ctx);
        std::string report = ffprobe(file(c.out), "stream=codec_name,width,height,nb_read_frames", "-count_frames");
        EXPECT_EQ(reportValue(report, "codec_name"), c.codec) << report;
        EXPECT_EQ(reportValue(report, "width"), std::to_string(c.width));
        EXPECT_EQ(reportValue(report, "height"), std::to_string(c.height));
        EXPECT_EQ(reportValue(report, "nb_read_frames"), "25") << c.out;
        std::string types = ffprobe(file(c.out), "frame=pict_type");
        std::string keys;
        for (size_t at = 0; (at = types.find("pict_type=", at)) != std::string::npos; at += 10)
            keys += types[at + 10];
        ASSERT_EQ(keys.size(), 25u) << types;
        for (size_t i = 0; i < keys.size(); ++i)
            EXPECT_EQ(keys[i] == 'I', i % 6 == 0) << c.out << " picture " << i << " " << keys;
    }
}

TEST_F(Encoder, SoundFormatsDecodeWithTheExpectedPackets)
{
    // A 1-s stereo clip at clipRate, encoded at 48 kHz with channels.
    struct Case {
        const char *format, *codec, *out;
        int clipRate, channels;
        int packets;  // 1 s at 48 kHz: whole frames, plus what the encoder's delay adds
    } cases[] = {
        {"mpeg1.audio.mp2", "mp2", "a.mp2", 48000, 2, 42},
        {"mpeg1.audio.mp3", "mp3", "b.mp3", 48000, 2, 43},
        {"mpeg4.audio.aac", "aac", "c.aac", 48000, 2, 48},
        // Through the audio converter: resampled and mixed down, the tail flushed.
        {"mpeg1.audio.mp2", "mp2", "d.mp2", 44100, 1, 42},
    };
    for (const Case &c : cases) {
        restart();
        ASSERT_TRUE(clip("-f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(c.clipRate) +
                         ":duration=1 -ac 2 -c:a pcm_s16le clip.wav"));
        zif_object *wanted = content("audio", c.format, {{"bitrate", 128000}, {"samplerate", 48000}, {"channels", c.channels}});
        ASSERT_TRUE(encode("clip.wav", false, wanted, c.out)) << c.out << " error " << zif_getLastError(ctx);
        std::string report = ffprobe(file(c.out), "stream=codec_name,channels,sample_rate,nb_read_packets", "-count_packets");
        EXPECT_EQ(reportValue(report, "codec_name"), c.codec) << report;
        EXPECT_EQ(reportValue(report, "sample_rate"), "48000") << report;
        EXPECT_EQ(reportValue(report, "channels"), std::to_string(c.channels)) << report;
        EXPECT_EQ(reportValue(report, "nb_read_packets"), std::to_string(c.packets)) << c.out;
    }
}

TEST_F(Encoder, TwoPassUsesTheFirstPassStatistics)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=176x144:rate=25:duration=1 -c:v mpeg4 -q:v 3 clip.mp4"));
    auto passContent = [&](int pass) {
        zif_object *t = content("video", "mpeg2.video", {{"twopass.pass", pass}, {"bitrate", 400000}});
        zif_tableSetString(t, "twopass.loguri", ("file://" + file("pass.log")).c_str());
        return t;
    };
    ASSERT_TRUE(encode("clip.mp4", true, passContent(1), "pass1.m2v")) << zif_getLastError(ctx);
    std::ifstream stats(file("pass.log"));
    std::string first((std::istreambuf_iterator<char>(stats)), std::istreambuf_iterator<char>());
    EXPECT_NE(first.find("in:"), std::string::npos) << first.substr(0, 200);
    restart();
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=176x144:rate=25:duration=1 -c:v mpeg4 -q:v 3 clip.mp4"));
    // The scratch folder is new: the log must be brought back.
    std::ofstream(file("pass.log")) << first;
    ASSERT_TRUE(encode("clip.mp4", true, passContent(2), "pass2.m2v")) << zif_getLastError(ctx);
    EXPECT_EQ(reportValue(ffprobe(file("pass2.m2v"), "stream=nb_read_frames", "-count_frames"), "nb_read_frames"), "25");
    restart();
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=176x144:rate=25:duration=1 -c:v mpeg4 -q:v 3 clip.mp4"));
    EXPECT_FALSE(encode("clip.mp4", true, passContent(2), "nolog.m2v"));
    EXPECT_EQ(zif_getLastError(ctx), 19);
}

// Sound blocks placed at given times go through an encoder in front of a
// sink asking for MP2; the packets tell how many samples were encoded.
TEST_F(Encoder, SoundTimeGapsAreFilledAndOverlapsTrimmed)
{
    struct Case {
        const char *what;
        int64_t secondStart;  // in samples; the first block is 24 000 samples at 0
        int64_t encoded;      // samples that reach the encoder
    } cases[] = {
        {"contiguous", 24000, 48000},
        {"small overlap kept", 23000, 48000},
        {"large overlap trimmed", 12000, 36000},
        {"gap filled", 48000, 72000},
        {"a long gap", 48000 * 600, 48000 * 600 + 24000},
    };
    for (const Case &c : cases) {
        restart();
        zif_object *desc = table({{"channels", 1}, {"pcm.bitspervalue", 16}, {"pcm.signed", 1}});
        zif_tableSetString(desc, "mediatype", "audio");
        zif_tableSetString(desc, "portclass", "data");
        zif_tableSetString(desc, "format", "pcm.interleaved");
        zif_tableSetDouble(desc, "samplerate", 48000);
        zif_object *ids = zif_newList(ctx);
        zif_object *center = zif_newString(ctx, "center");
        zif_listAdd(ids, center);
        zif_tableSet(desc, "channelids", ids);
        std::vector<int16_t> tone(24000);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = static_cast<int16_t>(6000 * std::sin(static_cast<double>(i) * 0.05));
        std::vector<zif_object *> blocks;
        for (int64_t start : {int64_t{0}, c.secondStart}) {
            zif_object *b = nullptr;
            zif_valueClone(desc, &b);
            zif_tableSetData(b, "data", tone.data(), static_cast<int32_t>(tone.size() * 2));
            zif_tableSetFract(b, "presentationtime", 0, start, 48000);
            blocks.push_back(b);
        }
        zif_tableSetInt(blocks.back(), "endofstream", 1);
        addSource(desc, blocks);
        zif_object *wanted = table({});
        zif_tableSetString(wanted, "mediatype", "audio");
        zif_tableSetString(wanted, "format", "mpeg1.audio.mp2");
        fftest::Sink *sink = addSink(wanted);
        ASSERT_TRUE(zif_graphBuild(graph)) << c.what;
        ASSERT_TRUE(runToEnd(10000000)) << c.what << " error " << zif_getLastError(ctx);
        ASSERT_TRUE(sink->ended);
        int64_t packets = 0;
        double first = 0, last = 0;
        for (zif_object *s : sink->samples)
            if (zif_tableContains(s, "data")) {
                last = zif_tableGetDouble(s, "presentationtime", -1);
                first = packets++ ? first : last;
            }
        EXPECT_EQ(packets, (c.encoded + 1151) / 1152) << c.what;
        // Packet times run on frame by frame from the first (which the encoder's delay moves before 0).
        EXPECT_LE(first, 0) << c.what;
        EXPECT_NEAR(last - first, static_cast<double>((packets - 1) * 1152) / 48000, 1e-9) << c.what;
        for (zif_object *o : {desc, ids, center, wanted})
            zif_release(o);
    }
}

TEST_F(Encoder, DirectCreatedEncoderTakesItsFormatFromTheConsumer)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=176x144:rate=25:duration=1 -pix_fmt yuv420p -c:v mpeg4 clip.mp4"));
    zif_object *extra = table({{"wantaudio", 0}});
    uint64_t command = addCommand("file://" + file("clip.mp4"), extra);
    zif_release(extra);
    uint64_t decoder = 0;
    ASSERT_EQ(connectDecoder(command, &decoder), 1);
    zif_object *wanted = table({});
    zif_tableSetString(wanted, "mediatype", "video");
    zif_tableSetString(wanted, "format", "mpeg1.video");
    uint64_t sinkPort = 0;
    fftest::Sink *sink = addSink(wanted, &sinkPort);
    uint64_t encoder = zif_graphDirectCreateNode(graph, "ffmpeg.encoder", nullptr);
    ASSERT_NE(encoder, 0u);
    ASSERT_EQ(zif_graphCreateConnection(graph, zif_graphFindNodePort(graph, encoder, "ffmpeg.encoder.out"), sinkPort), 1);
    ASSERT_EQ(zif_graphCreateConnection(graph, decoderPorts(decoder, "video")[0],
                                        zif_graphFindNodePort(graph, encoder, "ffmpeg.encoder.in")),
              1);
    ASSERT_TRUE(runToEnd()) << zif_getLastError(ctx);
    int keyframes = 0;
    for (zif_object *s : sink->samples)
        keyframes += zif_tableGetInt(s, "keyframe", 0) ? 1 : 0;
    EXPECT_EQ(keyframes, 3);  // pictures 0, 12 and 24 at the default GOP of 12
    EXPECT_EQ(zif_tableGetInt(sink->samples.back(), "endofstream", 0), 1);
    zif_release(wanted);
}

}  // namespace
