#include "plugins/ffmpeg/plugin_test_support.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using fftest::Sink;

// A sample's "presentationtime" as an exact fraction num/den.
std::pair<int64_t, int64_t> exactTime(zif_object *sample)
{
    zif_object *t = zif_tableGet(sample, "presentationtime");
    zif_object *f = zif_numberGetFractValue(t, nullptr);
    std::pair<int64_t, int64_t> r{0, 0};
    if (f)
        r = {zif_fractGetIntegralPart(f) * zif_fractGetDenominator(f) + zif_fractGetNumerator(f),
             zif_fractGetDenominator(f)};
    zif_release(f);
    zif_release(t);
    return r;
}

double seconds(zif_object *sample) { return zif_tableGetDouble(sample, "presentationtime", -1); }

class Decoder : public fftest::PluginTest {
protected:
    struct Decoded {
        Sink *video = nullptr;
        Sink *audio = nullptr;
    };

    // Decodes name with every wanted stream connected straight to a sink.
    Decoded decode(const std::string &name, zif_object *extra = nullptr)
    {
        Decoded d;
        uint64_t decoder = 0;
        EXPECT_EQ(connectDecoder(addCommand("file://" + file(name), extra), &decoder), 1)
            << "error " << zif_getLastError(ctx);
        for (const char *type : {"video", "audio"}) {
            for (uint64_t port : decoderPorts(decoder, type)) {
                uint64_t in = 0;
                Sink *s = addSink(nullptr, &in);
                EXPECT_EQ(zif_graphCreateConnection(graph, port, in), 1);
                (std::strcmp(type, "video") == 0 ? d.video : d.audio) = s;
            }
        }
        EXPECT_TRUE(runToEnd()) << "error " << zif_getLastError(ctx);
        return d;
    }

    // Connects a decoder for name; returns the connection result.
    int32_t open(const std::string &uri, zif_object *extra = nullptr, uint64_t *decoder = nullptr)
    {
        return connectDecoder(addCommand(uri, extra), decoder);
    }
};

TEST_F(Decoder, BPicturesAreAllDeliveredAtExactFrameTimesThenTheEnd)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=1 -c:v mpeg2video -bf 2 -g 12 b.mp4"));
    Decoded d = decode("b.mp4");
    ASSERT_NE(d.video, nullptr);
    std::vector<zif_object *> pictures = d.video->data();
    ASSERT_EQ(pictures.size(), 25u);
    for (size_t k = 0; k < pictures.size(); ++k) {
        auto [num, den] = exactTime(pictures[k]);
        EXPECT_EQ(num * 25, static_cast<int64_t>(k) * den) << "picture " << k;
    }
    EXPECT_TRUE(d.video->ended);
    EXPECT_EQ(zif_tableGetInt(d.video->samples.back(), "endofstream", 0), 1);
    EXPECT_EQ(d.video->samples.size(), 26u) << "nothing after the end of stream";
}

TEST_F(Decoder, PicturesCarryTheDescribedPlanes)
{
    // Odd sizes: chroma of 4:2:0 is (w + 1) / 2 by (h + 1) / 2.
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=321x241:rate=25:duration=0.2 -c:v ffv1 -pix_fmt yuv420p odd.mkv"));
    Decoded d = decode("odd.mkv");
    ASSERT_NE(d.video, nullptr);
    ASSERT_FALSE(d.video->data().empty());
    zif_object *p = d.video->data().front();
    struct Plane {
        const char *data, *delta;
        int64_t line, rows;
    };
    for (const Plane &plane : {Plane{"yuv.data.y", "yuv.linedelta.y", 321, 241}, Plane{"yuv.data.u", "yuv.linedelta.u", 161, 121},
                               Plane{"yuv.data.v", "yuv.linedelta.v", 161, 121}}) {
        EXPECT_EQ(zif_tableGetInt(p, plane.delta, 0), plane.line) << plane.delta;
        EXPECT_EQ(static_cast<int64_t>(fftest::bytesOf(p, plane.data).size()), plane.line * plane.rows) << plane.data;
    }
    EXPECT_STREQ(zif_tableGetString(p, "format", ""), "yuv.separate");
    EXPECT_EQ(zif_tableGetInt(p, "yuv.hratio.y", 0), 2);
    EXPECT_EQ(zif_tableGetInt(p, "yuv.hratio.u", 0), 1);
    EXPECT_EQ(zif_tableGetInt(p, "width", 0), 321);
    EXPECT_EQ(zif_tableGetInt(p, "height", 0), 241);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(p, "pixelaspectratio", 0), 1.0) << "unknown aspect counts as square";
}

TEST_F(Decoder, BottomUpRgbComesOutTopDownWithPositiveLineDelta)
{
    // Red top half, blue bottom half, stored bottom-up by the AVI muxer.
    ASSERT_TRUE(clip("-f lavfi -i color=c=blue:size=16x8:rate=25:duration=0.12 "
                     "-vf drawbox=x=0:y=0:w=16:h=4:color=red:t=fill -c:v rawvideo -pix_fmt bgr24 up.avi"));
    Decoded d = decode("up.avi");
    ASSERT_NE(d.video, nullptr);
    ASSERT_FALSE(d.video->data().empty());
    zif_object *p = d.video->data().front();
    EXPECT_STREQ(zif_tableGetString(p, "format", ""), "rgb.interleaved");
    EXPECT_EQ(zif_tableGetInt(p, "rgb.offset.r", -1), 16) << "BGR byte order";
    EXPECT_EQ(zif_tableGetInt(p, "linedelta", 0), 48);
    std::string bytes = fftest::bytesOf(p, "data");
    ASSERT_EQ(bytes.size(), 48u * 8u);
    auto px = [&](int row) { return std::vector<int>{(uint8_t)bytes[row * 48], (uint8_t)bytes[row * 48 + 1], (uint8_t)bytes[row * 48 + 2]}; };
    EXPECT_GT(px(0)[2], 200) << "top row red (B G R bytes)";
    EXPECT_LT(px(0)[0], 50);
    EXPECT_GT(px(7)[0], 200) << "bottom row blue";
}

// Which of the candidate tones is strongest in channel c of interleaved
// 16-bit sound (the power of each tone, Goertzel style).
double strongestTone(const std::vector<int16_t> &s, int channels, int c, int rate, const std::vector<double> &tones)
{
    double best = 0, bestPower = -1;
    size_t frames = s.size() / static_cast<size_t>(channels);
    for (double f : tones) {
        double re = 0, im = 0;
        for (size_t i = 0; i < frames; ++i) {
            double phase = 2 * M_PI * f * static_cast<double>(i) / rate;
            re += s[i * channels + c] * std::cos(phase);
            im += s[i * channels + c] * std::sin(phase);
        }
        double power = re * re + im * im;
        if (power > bestPower)
            bestPower = power, best = f;
    }
    return best;
}

TEST_F(Decoder, SurroundSoundIsReorderedIntoTheDocumentedChannels)
{
    // FFmpeg order FL FR FC LFE SL SR carries 200 300 400 500 600 700 Hz
    // (the low-frequency channel is low-passed by AC-3, so its tone is low too).
    ASSERT_TRUE(clip("-f lavfi -i sine=f=200:r=48000:d=0.5 -f lavfi -i sine=f=300:r=48000:d=0.5 "
                     "-f lavfi -i sine=f=400:r=48000:d=0.5 -f lavfi -i sine=f=500:r=48000:d=0.5 "
                     "-f lavfi -i sine=f=600:r=48000:d=0.5 -f lavfi -i sine=f=700:r=48000:d=0.5 "
                     "-filter_complex 'join=inputs=6:channel_layout=5.1(side):map=0.0-FL|1.0-FR|2.0-FC|3.0-LFE|4.0-SL|5.0-SR' "
                     "-c:a ac3 -b:a 448k s.ac3"));
    Decoded d = decode("s.ac3");
    ASSERT_NE(d.audio, nullptr);
    ASSERT_NE(d.audio->agreed, nullptr);
    zif_object *ids = zif_tableGet(d.audio->agreed, "channelids");
    std::vector<std::string> names;
    for (zif_list_link *at = zif_listBegin(ids); ids && at != zif_listEnd(ids);) {
        zif_object *s = zif_listNext(ids, &at);
        names.push_back(zif_stringGetValue(s));
        zif_release(s);
    }
    zif_release(ids);
    std::vector<int16_t> pcm;
    for (zif_object *block : d.audio->data()) {
        EXPECT_EQ(zif_tableGetInt(block, "channels", 0), 6);
        std::string bytes = fftest::bytesOf(block, "data");
        size_t at = pcm.size();
        pcm.resize(at + bytes.size() / 2);
        std::memcpy(pcm.data() + at, bytes.data(), bytes.size() / 2 * 2);
    }
    ASSERT_EQ(names.size(), 6u);
    const std::pair<const char *, double> expected[] = {{"left", 200},         {"center", 400},        {"right", 300},
                                                        {"leftsurround", 600}, {"rightsurround", 700}, {"lowfreq", 500}};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(names[static_cast<size_t>(c)], expected[c].first);
        EXPECT_EQ(strongestTone(pcm, 6, c, 48000, {200, 300, 400, 500, 600, 700}), expected[c].second)
            << expected[c].first;
    }
}

TEST_F(Decoder, SoundTimesFollowTheBlocks)
{
    ASSERT_TRUE(clip("-f lavfi -i sine=f=440:r=44100:d=0.5 -c:a pcm_s16le -ac 2 t.wav"));
    Decoded d = decode("t.wav");
    ASSERT_NE(d.audio, nullptr);
    int64_t frames = 0;
    for (zif_object *block : d.audio->data()) {
        EXPECT_NEAR(seconds(block), frames / 44100.0, 1e-9);
        frames += static_cast<int64_t>(fftest::bytesOf(block, "data").size()) / 4;
    }
    EXPECT_EQ(frames, 22050);
    EXPECT_TRUE(d.audio->ended);
}

TEST_F(Decoder, StartTimeBeginsAtTheFirstKeyFrameFromThere)
{
    // GOP 12 at 25 fps: key frames at 0, 0.48, 0.96, 1.44 s; 1.0 starts at
    // 1.44, with and without B-pictures (whose open GOPs lead with pictures
    // from before the key frame).
    for (const char *codec : {"mpeg4 -bf 0", "mpeg2video -bf 2"}) {
        TearDown();
        SetUp();
        ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=2 -c:v " + std::string(codec) + " -g 12 g.mp4"));
        zif_object *extra = zif_newTable(ctx);
        zif_tableSetDouble(extra, "decodestarttime", 1.0);
        Decoded d = decode("g.mp4", extra);
        zif_release(extra);
        ASSERT_NE(d.video, nullptr);
        std::vector<zif_object *> pictures = d.video->data();
        ASSERT_EQ(pictures.size(), 50u - 36u) << codec;
        for (size_t k = 0; k < pictures.size(); ++k) {
            auto [num, den] = exactTime(pictures[k]);
            EXPECT_EQ(num * 25, static_cast<int64_t>(36 + k) * den) << codec << " picture " << k;
        }
        EXPECT_TRUE(d.video->ended);
    }
}

TEST_F(Decoder, EndTimeEndsWithinOneFrame)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=3 -c:v mpeg4 -g 12 e.mp4"));
    zif_object *extra = zif_newTable(ctx);
    zif_tableSetDouble(extra, "decodeendtime", 2.0);
    Decoded d = decode("e.mp4", extra);
    zif_release(extra);
    ASSERT_NE(d.video, nullptr);
    ASSERT_FALSE(d.video->data().empty());
    EXPECT_NEAR(seconds(d.video->data().back()), 2.0, 0.04 + 1e-9);
    EXPECT_TRUE(d.video->ended);
}

TEST_F(Decoder, TruncatedFileDecodesToTheCutThenEnds)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=2 -c:v mpeg2video -f mpeg cut.mpg"));
    std::string path = file("cut.mpg");
    FILE *f = std::fopen(path.c_str(), "r+");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fclose(f);
    ASSERT_EQ(truncate(path.c_str(), size / 2), 0);
    Decoded d = decode("cut.mpg");
    ASSERT_NE(d.video, nullptr);
    EXPECT_GT(d.video->data().size(), 10u);
    EXPECT_LT(d.video->data().size(), 45u);
    EXPECT_TRUE(d.video->ended);
}

TEST_F(Decoder, UnwantedSoundGivesOnlyTheVideoPort)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=0.2 -f lavfi -i sine=d=0.2 -c:v mpeg4 -c:a aac av.mp4"));
    zif_object *extra = table({{"wantaudio", 0}});
    uint64_t decoder = 0;
    ASSERT_EQ(open("file://" + file("av.mp4"), extra, &decoder), 1);
    zif_release(extra);
    EXPECT_EQ(decoderPorts(decoder, "video").size(), 1u);
    EXPECT_TRUE(decoderPorts(decoder, "audio").empty());
}

TEST_F(Decoder, AnUnconnectedStreamDoesNotHoldTheNodeBack)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=0.2 -f lavfi -i sine=d=0.2 -c:v mpeg4 -c:a aac av.mp4"));
    uint64_t decoder = 0;
    ASSERT_EQ(open("file://" + file("av.mp4"), nullptr, &decoder), 1);
    ASSERT_EQ(decoderPorts(decoder, "audio").size(), 1u);
    uint64_t in = 0;
    Sink *s = addSink(nullptr, &in);
    ASSERT_EQ(zif_graphCreateConnection(graph, decoderPorts(decoder, "video").at(0), in), 1);
    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(s->ended);
}

TEST_F(Decoder, RefusesWhatItCannotDecode)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=0.2 -c:v ffv1 -pix_fmt yuv422p p422.mkv"));
    ASSERT_TRUE(clip("-f lavfi -i sine=d=0.2 -af aformat=channel_layouts=7.1 -c:a pcm_s16le ch8.wav"));
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=0.2 -f lavfi -i sine=d=0.2 -c:v mpeg4 -c:a aac av.mp4"));
    {
        FILE *f = std::fopen(file("text.mp4").c_str(), "w");
        std::fputs("This is not a movie.\nJust some words in a file named like one.\n", f);
        std::fclose(f);
    }
    struct Case {
        const char *what;
        std::string uri;
        std::vector<std::pair<const char *, int64_t>> entries;
        int32_t error;
    };
    const Case cases[] = {
        {"packed 4:2:2", "file://" + file("p422.mkv"), {}, 29},
        {"eight channels", "file://" + file("ch8.wav"), {}, 29},
        {"a text file named .mp4", "file://" + file("text.mp4"), {}, 15},
        {"no such file", "file://" + file("missing.mp4"), {}, 15},
        {"the only streams unwanted", "file://" + file("av.mp4"), {{"wantvideo", 0}, {"wantaudio", 0}}, 15},
        {"a network scheme", "http://example.org/av.mp4", {}, ZIF_ERR_CONNECTION_REFUSED},
    };
    for (const Case &c : cases) {
        zif_object *extra = zif_newTable(ctx);
        for (const auto &[key, value] : c.entries)
            zif_tableSetInt(extra, key, value);
        EXPECT_EQ(open(c.uri, extra), 0) << c.what;
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.what;
        zif_release(extra);
    }
}

TEST_F(Decoder, CommandWithoutUriFailsWith23)
{
    zif_object *node = nullptr;
    ASSERT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", nullptr, "input", &node));
    uint64_t command = zif_graphFindNodePort(graph, zif_nodeGetID(node), "input");
    zif_release(node);
    EXPECT_EQ(connectDecoder(command), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_MISSING_ENTRY);
}

}  // namespace
