// The search with every builder of the framework and of this module: a
// decoder and a consumer that asks for another layout, size or pixel aspect.
#include "plugins/ffmpeg/plugin_test_support.h"

#include <string>

namespace {

class BuilderSearch : public fftest::PluginTest {
protected:
    std::string logText()
    {
        zif_object *log = zif_graphGetLog(graph);
        zif_object *text = zif_logGetText(log);
        std::string s = text ? zif_stringGetValue(text) : "";
        zif_release(text);
        zif_release(log);
        return s;
    }

    // A decoder for the clip plus a sink on its video port's needs.
    fftest::Sink *decoderAndSink(const std::string &clipName, zif_object *wanted)
    {
        uint64_t decoder = 0;
        EXPECT_EQ(connectDecoder(addCommand("file://" + file(clipName)), &decoder), 1);
        return addSink(wanted);
    }
};

TEST_F(BuilderSearch, InsertsConverterAndResizerForAnRgbConsumerOfAnotherSize)
{
    struct Case {
        const char *source;
        int bits, offsetR, width, height;
    };
    const Case cases[] = {
        {"testsrc=size=640x480:rate=25:duration=0.4 -c:v mpeg4", 24, 0, 320, 240},
        {"testsrc=size=321x241:rate=25:duration=0.4 -c:v ffv1 -pix_fmt yuv420p", 24, 16, 161, 121},
        {"testsrc=size=320x240:rate=25:duration=0.4 -c:v mpeg4 -aspect 16:9", 32, 16, 320, 240},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        ASSERT_TRUE(clip("-f lavfi -i " + std::string(c.source) + " v.mkv"));
        zif_object *wanted = fftest::rgbDescription(ctx, c.bits, c.offsetR);
        zif_tableSetInt(wanted, "width", c.width);
        zif_tableSetInt(wanted, "height", c.height);
        zif_tableSetInt(wanted, "pixelaspectratio", 1);
        fftest::Sink *sink = decoderAndSink("v.mkv", wanted);
        zif_release(wanted);
        ASSERT_EQ(zif_graphBuild(graph), 1) << c.source << ": error " << zif_getLastError(ctx);
        EXPECT_EQ(logText().find("search step limit"), std::string::npos) << c.source;
        EXPECT_EQ(nodesNamed("ffmpeg.imageconvert"), 1) << c.source;
        EXPECT_EQ(nodesNamed("ffmpeg.imageresize"), 1) << c.source;
        ASSERT_TRUE(runToEnd()) << c.source << ": error " << zif_getLastError(ctx);
        std::vector<zif_object *> pictures = sink->data();
        EXPECT_EQ(pictures.size(), 10u) << c.source;
        for (zif_object *p : pictures) {
            EXPECT_EQ(zif_tableGetInt(p, "width", 0), c.width) << c.source;
            EXPECT_EQ(zif_tableGetInt(p, "height", 0), c.height) << c.source;
            EXPECT_EQ(zif_tableGetInt(p, "rgb.offset.r", -1), c.offsetR) << c.source;
            EXPECT_EQ(fftest::bytesOf(p, "data").size(), size_t(c.width) * (c.bits / 8) * c.height) << c.source;
        }
        EXPECT_TRUE(sink->ended) << c.source;
    }
}

TEST_F(BuilderSearch, AConsumerOfTheDecodedLayoutIsConnectedDirectly)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=0.4 -c:v mpeg4 v.mp4"));
    zif_object *wanted = fftest::yuvDescription(ctx, 0, 0);
    fftest::Sink *sink = decoderAndSink("v.mp4", wanted);
    zif_release(wanted);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_EQ(nodesNamed("ffmpeg.imageconvert"), 0);
    EXPECT_EQ(nodesNamed("ffmpeg.imageresize"), 0);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(sink->data().size(), 10u);
}

}  // namespace
