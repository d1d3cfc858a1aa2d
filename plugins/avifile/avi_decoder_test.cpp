#include "plugins/avifile/avi_test_builder.h"
#include "plugins/common/decoder_test_support.h"

#include <fstream>
#include <string>

namespace {

using plugintest::bytesOf;
using plugintest::Sink;
using plugintest::secondsOf;

class AviDecoderTest : public plugintest::DecoderTest {
protected:
    void SetUp() override
    {
        DecoderTest::SetUp();
        ASSERT_EQ(loadModule("libwyv_avifile.so"), 1);
    }

    int32_t openFile(const std::string &name, zif_object *extra = nullptr)
    {
        return open("avifile.decoder", fileUri(name), extra);
    }
    void write(const std::string &name, const std::string &bytes) { std::ofstream(file(name), std::ios::binary) << bytes; }

    // What ffmpeg itself makes of the file: the frames of the stream (a
    // zero-size chunk is a frame that repeats the one before it) ...
    int64_t probedFrames(const std::string &name)
    {
        return std::stoll("0" + run("ffprobe -v error -select_streams v:0 -show_entries stream=nb_frames -of csv=p=0 " +
                                    name));
    }
    // ... and their pictures, each once.
    std::string referencePictures(const std::string &name, const std::string &options = "")
    {
        return run("ffmpeg -nostdin -v error " + options + " -i " + name +
                   " -map 0:v:0 -fps_mode passthrough -pix_fmt bgra -vf vflip -f rawvideo -");
    }
    size_t referenceSoundBytes(const std::string &name, int channels)
    {
        return run("ffmpeg -nostdin -v error -i " + name + " -map 0:a:0 -ac " + std::to_string(channels) +
                   " -f s16le -").size();
    }
    static std::string joined(const Sink *r)
    {
        std::string all;
        for (zif_object *s : r->data())
            all += bytesOf(s);
        return all;
    }

    zif_object *times(double start, double end)
    {
        zif_object *t = zif_newTable(ctx);
        if (start >= 0)
            zif_tableSetDouble(t, "decodestarttime", start);
        if (end >= 0)
            zif_tableSetDouble(t, "decodeendtime", end);
        return t;
    }
};

constexpr const char *kPicture = "-f lavfi -i testsrc=size=64x48:rate=25:duration=1 ";
constexpr const char *kTone = "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 ";

TEST_F(AviDecoderTest, DecodesWhatFfmpegDecodes)
{
    struct Case {
        const char *name;
        std::string args;
        int channels;  // 0: no sound stream
        int width = 64, height = 48;
    };
    const Case cases[] = {
        {"mpeg4_mp3.avi", std::string(kPicture) + kTone + "-c:v mpeg4 -c:a libmp3lame -ac 2", 2},
        {"mpeg4_mono.avi", std::string(kPicture) + kTone + "-c:v mpeg4 -c:a pcm_s16le", 1},
        {"raw_bgr24.avi", std::string(kPicture) + "-c:v rawvideo -pix_fmt bgr24", 0},
        {"mjpeg_u8.avi", std::string(kPicture) + kTone + "-c:v mjpeg -c:a pcm_u8 -ac 2", 2},
        {"msmpeg4v2_adpcm.avi", std::string(kPicture) + kTone + "-c:v msmpeg4v2 -c:a adpcm_ms -ac 2", 2},
        {"mpeg4_ac3_51.avi", std::string(kPicture) + kTone + "-af aformat=channel_layouts=5.1 -c:v mpeg4 -c:a ac3", 2},
        // Pictures decoded out of their order, and lines padded to 4 bytes.
        {"mpeg4_bframes.avi", std::string(kPicture) + "-c:v mpeg4 -bf 2", 0},
        {"h264_bpyramid.avi", std::string(kPicture) + "-c:v libx264 -preset fast -bf 3 -pix_fmt yuv420p", 0},
        {"raw_pal8.avi", std::string(kPicture) + "-vf format=pal8 -c:v rawvideo", 0},
        {"raw_odd.avi", "-f lavfi -i testsrc=size=65x49:rate=25:duration=1 -c:v rawvideo -pix_fmt bgr24", 0, 65, 49},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ASSERT_TRUE(clip(c.args + " " + c.name));
        ASSERT_EQ(openFile(c.name), 1);
        ASSERT_TRUE(decodeAll());
        ASSERT_EQ(outputs.size(), c.channels ? 2u : 1u);
        Sink *video = output("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->portName, "avifile.decoder.video.0");
        EXPECT_EQ(static_cast<int64_t>(video->data().size()), probedFrames(c.name));
        EXPECT_EQ(zif_tableGetInt(video->description, "width", 0), c.width);
        EXPECT_EQ(zif_tableGetInt(video->description, "linedelta", 0), -4 * c.width);
        EXPECT_EQ(zif_tableGetInt(video->description, "firstlineoffset", 0), 4 * c.width * (c.height - 1));
        // A zero-size chunk repeats the picture before it, where ffmpeg
        // passes over it; the test pictures all differ from each other.
        std::string reference = referencePictures(c.name);
        std::string pictures;
        for (size_t i = 0; i < video->data().size(); ++i)
            if (i == 0 || bytesOf(video->data()[i]) != bytesOf(video->data()[i - 1]))
                pictures += bytesOf(video->data()[i]);
        ASSERT_EQ(pictures.size(), reference.size());
        EXPECT_TRUE(pictures == reference);
        if (video->data().size() > 2) {
            EXPECT_DOUBLE_EQ(secondsOf(video->data()[2], "presentationtime"), 2.0 / 25);
        }
        if (c.channels == 0)
            continue;
        Sink *sound = output("audio");
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->portName, "avifile.decoder.audio.0");
        EXPECT_EQ(zif_tableGetInt(sound->description, "channels", 0), c.channels);
        EXPECT_EQ(zif_tableGetInt(sound->description, "samplerate", 0), 44100);
        EXPECT_EQ(zif_tableGetInt(sound->description, "pcm.bitspervalue", 0), 16);
        EXPECT_EQ(joined(sound).size(), referenceSoundBytes(c.name, c.channels));
        ASSERT_FALSE(sound->data().empty());
        EXPECT_DOUBLE_EQ(secondsOf(sound->data()[0], "presentationtime"), 0.0);
    }
}

TEST_F(AviDecoderTest, StartAndEndTimesPickTheFrames)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=2 "
                     "-f lavfi -i sine=frequency=440:sample_rate=8000:duration=2 -c:v mpeg4 -g 12 -c:a pcm_s16le two.avi"));
    std::string reference = referencePictures("two.avi");
    const size_t frameBytes = 64 * 48 * 4;
    zif_object *t = times(1.0, 1.6);
    ASSERT_EQ(openFile("two.avi", t), 1);
    zif_release(t);
    ASSERT_TRUE(decodeAll());
    Sink *video = output("video");
    ASSERT_EQ(video->data().size(), 15u);  // frames 25 ... 39
    EXPECT_DOUBLE_EQ(secondsOf(video->data()[0], "presentationtime"), 1.0);
    EXPECT_TRUE(bytesOf(video->data()[0]) == reference.substr(25 * frameBytes, frameBytes));
    EXPECT_TRUE(bytesOf(video->data()[14]) == reference.substr(39 * frameBytes, frameBytes));
    Sink *sound = output("audio");
    EXPECT_DOUBLE_EQ(secondsOf(sound->data()[0], "presentationtime"), 1.0);
    EXPECT_EQ(joined(sound).size(), 4800u * 2);  // 0.6 s at 8000 Hz, mono
}

TEST_F(AviDecoderTest, ACutFileEndsCleanly)
{
    struct Case {
        int seconds;
        int percent;
    };
    // Cut off near the end, and far from it: what the file still holds is
    // decoded, and the stream ends there.
    for (const Case c : {Case{1, 95}, Case{6, 30}}) {
        SCOPED_TRACE(std::to_string(c.seconds) + " s cut at " + std::to_string(c.percent) + " %");
        TearDown();
        SetUp();
        ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=" + std::to_string(c.seconds) +
                         " -f lavfi -i sine=sample_rate=8000:duration=" + std::to_string(c.seconds) +
                         " -c:v mpeg4 -c:a pcm_s16le whole.avi"));
        std::string whole = plugintest::fileBytes(file("whole.avi"));
        write("cut.avi", whole.substr(0, whole.size() * c.percent / 100));
        ASSERT_EQ(openFile("cut.avi"), 1);
        ASSERT_TRUE(decodeAll());
        size_t frames = output("video")->data().size();
        size_t all = static_cast<size_t>(c.seconds) * 25;
        EXPECT_GE(frames, all * c.percent / 100 * 3 / 4);  // bytes and frames do not shrink alike
        EXPECT_LE(frames, all * c.percent / 100 + 1);
        std::string reference = referencePictures("whole.avi");
        EXPECT_TRUE(joined(output("video")) == reference.substr(0, frames * 64 * 48 * 4));
        EXPECT_TRUE(output("audio")->ended);
    }
}

TEST_F(AviDecoderTest, EveryIndexGivesTheSameFrames)
{
    // The OpenDML indexes, then 'idx1' alone, then no index at all.
    ASSERT_TRUE(clip(std::string(kPicture) + "-c:v mpeg4 -g 5 -bf 2 indexed.avi"));
    std::string bytes = plugintest::fileBytes(file("indexed.avi"));
    std::string reference = referencePictures("indexed.avi");
    auto hide = [](std::string b, const std::string &id) {
        for (size_t at = b.find(id); at != std::string::npos; at = b.find(id, at + 4))
            b.replace(at, 4, "JUNK");
        return b;
    };
    std::string noOpenDml = hide(bytes, "indx");
    const std::pair<const char *, std::string> files[] = {
        {"opendml.avi", bytes}, {"idx1.avi", noOpenDml}, {"walked.avi", hide(noOpenDml, "idx1")}};
    for (const auto &[name, content] : files) {
        SCOPED_TRACE(name);
        TearDown();
        SetUp();
        write(name, content);
        zif_object *t = times(0.5, -1);
        ASSERT_EQ(openFile(name, t), 1);
        zif_release(t);
        ASSERT_TRUE(decodeAll());
        EXPECT_TRUE(joined(output("video")) == reference.substr(12 * 64 * 48 * 4));
    }
}

TEST_F(AviDecoderTest, RawPicturesComeOutBottomUpWithTheirBytes)
{
    avitest::AviSpec spec;
    spec.soundFormat = avitest::pcmFormat(2, 8000, 16, 14);  // a WAVEFORMAT without bits per sample
    spec.soundSampleSize = 4;
    spec.soundChunks = {std::string(400, '\x10'), std::string(400, '\x20')};
    write("raw.avi", avitest::buildAvi(spec));
    ASSERT_EQ(openFile("raw.avi"), 1);
    ASSERT_TRUE(decodeAll());
    Sink *video = output("video");
    ASSERT_EQ(video->data().size(), 3u);
    std::string expected;
    std::string source = avitest::rawFrame(spec, 1);
    for (size_t p = 0; p < source.size(); p += 3)
        expected += source.substr(p, 3) + '\xff';
    EXPECT_TRUE(bytesOf(video->data()[1]) == expected);
    Sink *sound = output("audio");
    EXPECT_EQ(zif_tableGetInt(sound->description, "channels", 0), 2);
    EXPECT_EQ(joined(sound), std::string(400, '\x10') + std::string(400, '\x20'));
}

TEST_F(AviDecoderTest, BadRequestsAndHeadersGiveTheirErrors)
{
    struct Case {
        const char *name;
        avitest::AviSpec spec;
        int32_t error;
    };
    avitest::AviSpec rateZero, scaleZero, wide, wideBitmap, hugeFormat;
    rateZero.videoRate = 0;
    scaleZero.videoScale = 0;
    wide.frameRectWidth = 20000;  // the rectangle holds 16-bit sides
    wide.frames = 0;
    wideBitmap.frameRectWidth = 0;
    wideBitmap.bitmapWidth = 100000;
    hugeFormat.strfSizeOverride = 0x7FFFFFF0;
    const Case cases[] = {
        {"rate0.avi", rateZero, 15}, {"scale0.avi", scaleZero, 15}, {"wide.avi", wide, 15},
        {"widebitmap.avi", wideBitmap, 15}, {"hugeformat.avi", hugeFormat, 15},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        write(c.name, avitest::buildAvi(c.spec));
        EXPECT_EQ(openFile(c.name), 0);
        EXPECT_EQ(zif_getLastError(ctx), c.error);
    }

    TearDown();
    SetUp();
    EXPECT_EQ(openFile("missing.avi"), 0);
    EXPECT_EQ(zif_getLastError(ctx), 15);

    TearDown();
    SetUp();
    zif_object *command = nullptr;
    ASSERT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", nullptr, "input", &command));
    uint64_t out = zif_graphFindNodePort(graph, zif_nodeGetID(command), "input");
    zif_release(command);
    decoder = zif_graphDirectCreateNode(graph, "avifile.decoder", nullptr);
    EXPECT_EQ(zif_graphCreateConnection(graph, out, zif_graphFindNodePort(graph, decoder, "avifile.decoder.commandin")), 0);
    EXPECT_EQ(zif_getLastError(ctx), 23);

    TearDown();
    SetUp();
    EXPECT_EQ(open("avifile.decoder", "http://example.org/a.avi"), 0);
}

TEST_F(AviDecoderTest, AnUnreadableFrameFarFromTheEndIsAnError)
{
    avitest::AviSpec spec;
    spec.frames = 120;
    spec.idx1SizeOfFirstFrame = 0x7FFFFFF0;
    write("bad.avi", avitest::buildAvi(spec));
    ASSERT_EQ(openFile("bad.avi"), 1);
    EXPECT_FALSE(decodeAll());
    EXPECT_EQ(zif_getLastError(ctx), 34);

    // Near the end of the stream the same damage just ends it.
    TearDown();
    SetUp();
    spec.frames = 50;
    write("short.avi", avitest::buildAvi(spec));
    ASSERT_EQ(openFile("short.avi"), 1);
    ASSERT_TRUE(decodeAll());
    EXPECT_TRUE(output("video")->data().empty());
}

}  // namespace
