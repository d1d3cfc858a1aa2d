#include "plugins/ffmpeg/plugin_test_support.h"

#include <string>

namespace {

using fftest::Sink;

class Converter : public fftest::PluginTest {
protected:
    // source -> direct-created converter -> sink asking for wanted; runs to the end.
    Sink *convert(zif_object *sourceDescription, std::vector<zif_object *> samples, zif_object *wanted, bool *worked)
    {
        uint64_t out = 0, in = 0;
        addSource(sourceDescription, std::move(samples), &out);
        Sink *s = addSink(wanted, &in);
        uint64_t node = zif_graphDirectCreateNode(graph, "ffmpeg.imageconverter", nullptr);
        EXPECT_NE(node, 0u);
        EXPECT_EQ(zif_graphCreateConnection(graph, zif_graphFindNodePort(graph, node, "ffmpeg.imageconvert.out"), in), 1);
        EXPECT_EQ(zif_graphCreateConnection(graph, out, zif_graphFindNodePort(graph, node, "ffmpeg.imageconvert.in")), 1);
        *worked = runToEnd();
        return s;
    }
};

TEST_F(Converter, YuvToRgbHonoursTheLineAlignment)
{
    zif_object *wanted = fftest::rgbDescription(ctx, 24, 0);
    zif_tableSetInt(wanted, "linealign", 4);
    zif_object *desc = fftest::yuvDescription(ctx, 721, 481);
    // Pure red in video-range BT.601.
    zif_object *red = fftest::yuvPicture(ctx, 721, 481, 81, 90, 240);
    zif_tableSetInt(red, "endofstream", 1);
    bool worked = false;
    Sink *s = convert(desc, {red}, wanted, &worked);
    ASSERT_TRUE(worked) << zif_getLastError(ctx);
    ASSERT_EQ(s->samples.size(), 1u);
    zif_object *p = s->samples[0];
    EXPECT_EQ(zif_tableGetInt(p, "linedelta", 0), 2164);
    EXPECT_EQ(zif_tableGetInt(p, "width", 0), 721);
    EXPECT_EQ(zif_tableGetInt(p, "endofstream", 0), 1);
    std::string bytes = fftest::bytesOf(p, "data");
    ASSERT_EQ(bytes.size(), 2164u * 481u);
    size_t last = 480 * 2164 + 720 * 3;  // bottom-right pixel
    for (size_t at : {size_t{0}, last}) {
        EXPECT_GT(static_cast<uint8_t>(bytes[at]), 230) << at;
        EXPECT_LT(static_cast<uint8_t>(bytes[at + 1]), 25) << at;
        EXPECT_LT(static_cast<uint8_t>(bytes[at + 2]), 25) << at;
    }
    for (zif_object *o : {wanted, desc})
        zif_release(o);
}

TEST_F(Converter, BottomUpRgbToYuvPadsPlanesToTheRatios)
{
    // 721 x 481 BGR24, rows stored bottom-up: the last row in memory is the top.
    const int w = 721, h = 481;
    std::string bytes(static_cast<size_t>(w) * 3 * h, '\0');
    for (int r = h - 2; r < h; ++r)
        for (int x = 0; x < w; ++x)
            bytes[static_cast<size_t>(r * w * 3 + x * 3 + 2)] = static_cast<char>(255);  // top two rows red
    zif_object *picture = fftest::rgbDescription(ctx, 24, 16);
    zif_tableSetInt(picture, "width", w);
    zif_tableSetInt(picture, "height", h);
    zif_tableSetData(picture, "data", bytes.data(), static_cast<int32_t>(bytes.size()));
    zif_tableSetInt(picture, "linedelta", -w * 3);
    zif_tableSetInt(picture, "firstlineoffset", (h - 1) * w * 3);
    zif_tableSetInt(picture, "endofstream", 1);
    zif_object *desc = fftest::rgbDescription(ctx, 24, 16);
    zif_object *wanted = fftest::yuvDescription(ctx, 0, 0);
    bool worked = false;
    Sink *s = convert(desc, {picture}, wanted, &worked);
    ASSERT_TRUE(worked) << zif_getLastError(ctx);
    ASSERT_EQ(s->samples.size(), 1u);
    zif_object *p = s->samples[0];
    EXPECT_EQ(zif_tableGetInt(p, "yuv.linedelta.y", 0), 722);
    EXPECT_EQ(zif_tableGetInt(p, "yuv.linedelta.u", 0), 361);
    EXPECT_EQ(fftest::bytesOf(p, "yuv.data.y").size(), 722u * 482u);
    EXPECT_EQ(fftest::bytesOf(p, "yuv.data.v").size(), 361u * 241u);
    std::string y = fftest::bytesOf(p, "yuv.data.y");
    EXPECT_GT(static_cast<uint8_t>(y[0]), 60) << "red top rows";
    EXPECT_LT(static_cast<uint8_t>(y[722 * 10]), 30) << "black below";
    EXPECT_GT(static_cast<uint8_t>(fftest::bytesOf(p, "yuv.data.v")[0]), 200) << "red chroma";
    for (zif_object *o : {desc, wanted})
        zif_release(o);
}

TEST_F(Converter, ThePictureInTheWantedLayoutPassesUnchanged)
{
    zif_object *desc = fftest::yuvDescription(ctx, 8, 4);
    zif_object *picture = fftest::yuvPicture(ctx, 8, 4, 1, 2, 3);
    zif_tableSetInt(picture, "endofstream", 1);
    zif_object *wanted = fftest::yuvDescription(ctx, 0, 0);
    bool worked = false;
    Sink *s = convert(desc, {zif_addRef(picture)}, wanted, &worked);
    ASSERT_TRUE(worked);
    ASSERT_EQ(s->samples.size(), 1u);
    EXPECT_EQ(s->samples[0], picture);
    for (zif_object *o : {desc, wanted, picture})
        zif_release(o);
}

TEST_F(Converter, BadGeometryFailsTheWork)
{
    struct Case {
        const char *what;
        int64_t chromaBytes;
        int64_t targetLineDelta;
        int32_t error;
    };
    const Case cases[] = {
        {"a chroma plane one byte short", 16 * 8 / 4 - 1, 0, ZIF_ERR_BAD_BINARY},
        {"an empty chroma plane", 0, 0, ZIF_ERR_BAD_BINARY},
        {"a negative target line delta", -1, -48, ZIF_ERR_CONVERSION},
        {"a target line delta below the row bytes", -1, 47, ZIF_ERR_CONVERSION},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        zif_object *desc = fftest::yuvDescription(ctx, 16, 8);
        zif_object *picture = fftest::yuvPicture(ctx, 16, 8, 16, 128, 128, c.chromaBytes);
        zif_object *wanted = fftest::rgbDescription(ctx, 24, 0);
        if (c.targetLineDelta)
            zif_tableSetInt(wanted, "linedelta", c.targetLineDelta);
        bool worked = true;
        convert(desc, {picture}, wanted, &worked);
        EXPECT_FALSE(worked) << c.what;
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.what;
        zif_release(desc);
        zif_release(wanted);
    }
}

}  // namespace
