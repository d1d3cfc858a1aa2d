#include "plugins/common/decoder_test_support.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

using plugintest::bytesOf;
using plugintest::secondsOf;
using plugintest::Sink;

class GraphDecoder : public plugintest::DecoderTest {
protected:
    void SetUp() override
    {
        DecoderTest::SetUp();
        ASSERT_EQ(loadModule("libwyv_dsgraph.so"), 1);
    }
    int32_t connect(uint64_t command, uint64_t *node = nullptr) { return connectDecoder("dsgraph.decoder", command, node); }

    zif_object *entries(std::initializer_list<std::pair<const char *, double>> values)
    {
        zif_object *t = zif_newTable(ctx);
        for (const auto &[key, value] : values) {
            if (std::string(key).rfind("want", 0) == 0)
                zif_tableSetInt(t, key, static_cast<int64_t>(value));
            else
                zif_tableSetDouble(t, key, value);
        }
        return t;
    }

    struct Decoded {
        uint64_t node = 0;
        Sink *video = nullptr;
        Sink *audio = nullptr;
    };
    // Connects a decoder for name with the extra entries (taken) and a sink
    // behind each of its ports.
    Decoded openFile(const std::string &name, zif_object *extra = nullptr)
    {
        Decoded d;
        EXPECT_EQ(connect(addCommand(fileUri(name), extra), &d.node), 1) << "error " << zif_getLastError(ctx);
        zif_release(extra);
        for (uint64_t port : ports(d.node, ZIF_PORT_OUTPUT, "dsgraph.decoder.video"))
            d.video = addSink(port);
        for (uint64_t port : ports(d.node, ZIF_PORT_OUTPUT, "dsgraph.decoder.audio"))
            d.audio = addSink(port);
        return d;
    }
};

TEST_F(GraphDecoder, OddWidthPicturesAreByteEqualToFfmpegAndNoSoundIsLost)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=318x240:rate=25:duration=1 -f lavfi -i sine=duration=1 "
                     "-c:v mpeg4 -c:a mp2 clip.avi"));
    ASSERT_TRUE(clip("-i clip.avi -pix_fmt yuv420p -f rawvideo pictures.yuv -f s16le sound.pcm"));
    Decoded d = openFile("clip.avi");
    ASSERT_TRUE(d.video && d.audio);
    zif_object *vd = portDescription(ports(d.node, ZIF_PORT_OUTPUT, "dsgraph.decoder.video")[0]);
    EXPECT_STREQ(zif_tableGetString(vd, "format", ""), "yuv.separate");
    EXPECT_EQ(zif_tableGetInt(vd, "width", 0), 318);
    EXPECT_EQ(zif_tableGetInt(vd, "yuv.linedelta.y", 0), 318);
    EXPECT_EQ(zif_tableGetInt(vd, "yuv.linedelta.u", 0), 159);
    EXPECT_EQ(zif_tableGetInt(vd, "yuv.linedelta.v", 0), 159);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(vd, "framerate", 0), 25.0);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(vd, "pixelaspectratio", 0), 1.0);
    zif_release(vd);
    ASSERT_TRUE(runToEnd()) << "error " << zif_getLastError(ctx);
    ASSERT_TRUE(d.video->ended && d.audio->ended);

    std::vector<zif_object *> pictures = d.video->data();
    ASSERT_EQ(pictures.size(), 25u);
    std::string decoded;
    for (zif_object *p : pictures) {
        ASSERT_EQ(bytesOf(p, "yuv.data.y").size(), 318u * 240u);
        ASSERT_EQ(bytesOf(p, "yuv.data.u").size(), 159u * 120u);
        decoded += bytesOf(p, "yuv.data.y") + bytesOf(p, "yuv.data.u") + bytesOf(p, "yuv.data.v");
    }
    std::ifstream reference(file("pictures.yuv"), std::ios::binary);
    std::string expected((std::istreambuf_iterator<char>(reference)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(decoded == expected) << "planes differ from ffmpeg's";
    EXPECT_NEAR(secondsOf(pictures.front()), 0.0, 1e-9);
    EXPECT_NEAR(secondsOf(pictures.back()), 0.96, 1e-6);

    size_t soundBytes = 0;
    for (zif_object *s : d.audio->data())
        soundBytes += bytesOf(s, "data").size();
    EXPECT_EQ(soundBytes, static_cast<size_t>(std::filesystem::file_size(file("sound.pcm"))));
}

TEST_F(GraphDecoder, AVideoOnlyFileConnectsWithoutASoundPort)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=160x120:rate=25:duration=1 -c:v mpeg4 video.mp4"));
    auto started = std::chrono::steady_clock::now();
    Decoded d = openFile("video.mp4", entries({{"wantaudio", 1}}));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_TRUE(d.video);
    EXPECT_FALSE(d.audio);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(d.video->data().size(), 25u);
}

TEST_F(GraphDecoder, RefusesWhatItCannotDecode)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=160x120:rate=25:duration=1 -c:v mpeg4 video.mp4"));
    std::ofstream(file("notes.avi")) << "no media in here\n";
    struct Case {
        const char *what;
        const char *file;
        zif_object *extra;
        int32_t error;
    };
    const Case cases[] = {
        {"not media", "notes.avi", nullptr, 15},
        {"missing file", "gone.avi", nullptr, 15},
        {"only an unwanted stream", "video.mp4", entries({{"wantvideo", 0}}), 15},
        {"nothing wanted", "video.mp4", entries({{"wantvideo", 0}, {"wantaudio", 0}}), 15},
    };
    for (const Case &c : cases) {
        zif_setLastError(ctx, 0);
        EXPECT_EQ(connect(addCommand(fileUri(c.file), c.extra)), 0) << c.what;
        zif_release(c.extra);
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.what;
    }
    zif_object *command = nullptr;
    ASSERT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", nullptr, "nouri", &command));
    EXPECT_EQ(connect(zif_graphFindNodePort(graph, zif_nodeGetID(command), "nouri")), 0);
    EXPECT_EQ(zif_getLastError(ctx), 23);
    zif_release(command);
}

TEST_F(GraphDecoder, StartAndEndTimesAreStreamTimes)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=160x120:rate=25:duration=2 -f lavfi -i sine=duration=2 "
                     "-c:v mpeg4 -c:a mp2 clip.avi"));
    Decoded late = openFile("clip.avi", entries({{"decodestarttime", 1.0}}));
    Decoded early = openFile("clip.avi", entries({{"decodeendtime", 0.5}}));
    ASSERT_TRUE(runToEnd()) << "error " << zif_getLastError(ctx);
    for (Sink *s : {late.video, late.audio}) {
        ASSERT_FALSE(s->data().empty());
        EXPECT_NEAR(secondsOf(s->data().front()), 1.0, 0.03);
    }
    EXPECT_EQ(late.video->data().size(), 25u);
    EXPECT_NEAR(secondsOf(late.video->data().front()), 1.0, 1e-9);
    for (Sink *s : {early.video, early.audio}) {
        ASSERT_FALSE(s->data().empty());
        EXPECT_TRUE(s->ended);
        EXPECT_LE(secondsOf(s->data().back()), 0.5);
    }
    EXPECT_EQ(early.video->data().size(), 13u) << "0.00 to 0.48";
}

TEST_F(GraphDecoder, RegistersTheVideoExtensionsAndDescribesItsPipelines)
{
    zif_object *plugin = zif_findPluginWithName(ctx, "dsgraph.decoder");
    zif_object *list = zif_pluginGetDecodeFileExtensions(plugin);
    std::set<std::string> extensions;
    size_t count = 0;
    for (zif_list_link *at = zif_listBegin(list); list && at != zif_listEnd(list); ++count) {
        zif_object *s = zif_listNext(list, &at);
        extensions.insert(zif_stringGetValue(s));
        zif_release(s);
    }
    EXPECT_EQ(extensions.size(), count) << "no duplicates";
    for (const char *e : {".avi", ".mkv", ".mp4", ".mpg", ".ts"})
        EXPECT_TRUE(extensions.count(e)) << e;
    for (const char *e : {".wma", ".mp3", ".wav"})
        EXPECT_FALSE(extensions.count(e)) << e;
    zif_release(list);
    zif_release(plugin);

    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=160x120:rate=25:duration=1 -f lavfi -i sine=duration=1 "
                     "-c:v mpeg4 -c:a mp2 clip.avi"));
    Decoded d = openFile("clip.avi");
    zif_object *text = zif_graphGetNodeDebugText(graph, d.node);
    std::string dump = text ? zif_stringGetValue(text) : "";
    zif_release(text);
    EXPECT_EQ(dump.rfind("<streamlist>", 0), 0u) << dump;
    EXPECT_NE(dump.find("<stream type=\"video\">"), std::string::npos);
    EXPECT_NE(dump.find("<stream type=\"audio\">"), std::string::npos);
    EXPECT_NE(dump.find("<dsgraph>"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(GraphDecoder, DecodesVariedMedia)
{
    struct Case {
        const char *args;
        const char *file;
        const char *format;
        int channels;
    };
    const Case cases[] = {
        {"-c:v mpeg2video -c:a mp2", "program.mpg", "yuv.separate", 1},
        {"-c:v libx264 -pix_fmt yuv420p -c:a aac", "h264.mkv", "yuv.separate", 1},
        {"-c:v libvpx -c:a libvorbis", "vp8.webm", "yuv.separate", 1},
        {"-c:v ffv1 -pix_fmt bgr0 -c:a ac3 -ac 6", "rgb.mkv", "rgb.interleaved", 6},
        {"-c:v mpeg2video -c:a mp2 -ac 2", "transport.ts", "yuv.separate", 2},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(clip(std::string("-f lavfi -i testsrc=size=176x144:rate=25:duration=1 -f lavfi -i sine=duration=1 ") +
                         c.args + " " + c.file))
            << c.file;
        Decoded d = openFile(c.file);
        ASSERT_TRUE(d.video && d.audio) << c.file;
        zif_object *vd = portDescription(ports(d.node, ZIF_PORT_OUTPUT, "dsgraph.decoder.video")[0]);
        zif_object *ad = portDescription(ports(d.node, ZIF_PORT_OUTPUT, "dsgraph.decoder.audio")[0]);
        EXPECT_STREQ(zif_tableGetString(vd, "format", ""), c.format) << c.file;
        EXPECT_EQ(zif_tableGetInt(ad, "channels", 0), c.channels) << c.file;
        zif_release(vd);
        zif_release(ad);
        ASSERT_TRUE(runToEnd()) << c.file << ": error " << zif_getLastError(ctx);
        EXPECT_EQ(d.video->data().size(), 25u) << c.file;
        EXPECT_GT(d.audio->data().size(), 0u) << c.file;
        for (zif_object *p : d.video->data()) {
            size_t expected = std::string(c.format) == "rgb.interleaved" ? 176u * 144u * 4u : 176u * 144u;
            EXPECT_EQ(bytesOf(p, std::string(c.format) == "rgb.interleaved" ? "data" : "yuv.data.y").size(), expected)
                << c.file;
        }
    }
}

}  // namespace
