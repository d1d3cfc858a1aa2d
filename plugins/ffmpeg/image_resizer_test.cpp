#include "plugins/ffmpeg/plugin_test_support.h"

#include <string>

namespace {

using fftest::Sink;

class Resizer : public fftest::PluginTest {
protected:
    // One picture through a direct-created resizer into a sink asking for wanted.
    Sink *resize(zif_object *picture, zif_object *wanted, bool *worked)
    {
        zif_tableSetInt(picture, "endofstream", 1);
        uint64_t out = 0, in = 0;
        zif_object *desc = fftest::yuvDescription(ctx, 0, 0);
        addSource(desc, {picture}, &out);
        zif_release(desc);
        Sink *s = addSink(wanted, &in);
        uint64_t node = zif_graphDirectCreateNode(graph, "ffmpeg.imageresizer", nullptr);
        EXPECT_NE(node, 0u);
        EXPECT_EQ(zif_graphCreateConnection(graph, zif_graphFindNodePort(graph, node, "ffmpeg.imageresize.out"), in), 1)
            << zif_getLastError(ctx);
        EXPECT_EQ(zif_graphCreateConnection(graph, out, zif_graphFindNodePort(graph, node, "ffmpeg.imageresize.in")), 1);
        *worked = runToEnd();
        return s;
    }
};

TEST_F(Resizer, WidePalIntoNarrowPalIsLetterboxed72And72)
{
    zif_object *picture = fftest::yuvPicture(ctx, 720, 576, 200, 128, 128);
    zif_tableSetFract(picture, "pixelaspectratio", 1, 19, 45);  // 64/45
    zif_object *wanted = fftest::yuvDescription(ctx, 720, 576);
    zif_tableSetFract(wanted, "pixelaspectratio", 1, 1, 15);  // 16/15
    bool worked = false;
    Sink *s = resize(picture, wanted, &worked);
    ASSERT_TRUE(worked) << zif_getLastError(ctx);
    ASSERT_EQ(s->samples.size(), 1u);
    zif_object *p = s->samples[0];
    EXPECT_EQ(zif_tableGetInt(p, "width", 0), 720);
    EXPECT_EQ(zif_tableGetInt(p, "height", 0), 576);
    EXPECT_NEAR(zif_tableGetDouble(p, "pixelaspectratio", 0), 16.0 / 15.0, 1e-9);
    std::string y = fftest::bytesOf(p, "yuv.data.y");
    ASSERT_EQ(y.size(), 720u * 576u);
    auto row = [&](int r) { return static_cast<int>(static_cast<uint8_t>(y[static_cast<size_t>(r) * 720 + 360])); };
    EXPECT_EQ(row(0), 16);
    EXPECT_EQ(row(71), 16);
    EXPECT_NEAR(row(72), 200, 3);
    EXPECT_NEAR(row(503), 200, 3);
    EXPECT_EQ(row(504), 16);
    EXPECT_EQ(row(575), 16);
    EXPECT_EQ(static_cast<uint8_t>(fftest::bytesOf(p, "yuv.data.u")[0]), 128);
    zif_release(wanted);
}

TEST_F(Resizer, SizesAndAspects)
{
    struct Case {
        const char *what;
        int w, h;
        double aspect;  // of the input; 0 is unknown
        int tw, th;
        double tp;      // 0: not asked
        int ow, oh;
    };
    const Case cases[] = {
        {"640 wide from PAL 4:3", 720, 576, 16.0 / 15.0, 640, 0, 1, 640, 480},
        {"unknown input aspect counts as square", 320, 240, 0, 160, 120, 1, 160, 120},
        {"odd sizes both ways", 321, 241, 1, 161, 121, 1, 161, 121},
        {"pixel aspect 2 alone doubles the height", 33, 17, 1, 0, 0, 2, 33, 34},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        zif_object *picture = fftest::yuvPicture(ctx, c.w, c.h, 120, 100, 150);
        zif_tableSetDouble(picture, "pixelaspectratio", c.aspect);
        zif_object *wanted = fftest::yuvDescription(ctx, c.tw, c.th);
        if (c.tw && !c.th)
            zif_tableRemove(wanted, "height");
        if (c.tp > 0)
            zif_tableSetDouble(wanted, "pixelaspectratio", c.tp);
        bool worked = false;
        Sink *s = resize(picture, wanted, &worked);
        ASSERT_TRUE(worked) << c.what << ": error " << zif_getLastError(ctx);
        ASSERT_EQ(s->samples.size(), 1u) << c.what;
        zif_object *p = s->samples[0];
        EXPECT_EQ(zif_tableGetInt(p, "width", 0), c.ow) << c.what;
        EXPECT_EQ(zif_tableGetInt(p, "height", 0), c.oh) << c.what;
        int64_t cw = (c.ow + 1) / 2, ch = (c.oh + 1) / 2;
        EXPECT_EQ(static_cast<int64_t>(fftest::bytesOf(p, "yuv.data.u").size()), cw * ch) << c.what;
        EXPECT_EQ(zif_tableGetInt(p, "yuv.linedelta.v", 0), cw) << c.what;
        zif_release(wanted);
    }
}

TEST_F(Resizer, AMatchingPicturePassesUnchanged)
{
    zif_object *picture = fftest::yuvPicture(ctx, 64, 48, 1, 2, 3);
    zif_tableSetDouble(picture, "pixelaspectratio", 1);
    zif_addRef(picture);
    zif_object *wanted = fftest::yuvDescription(ctx, 64, 48);
    zif_tableSetDouble(wanted, "pixelaspectratio", 1);
    bool worked = false;
    Sink *s = resize(picture, wanted, &worked);
    ASSERT_TRUE(worked);
    ASSERT_EQ(s->samples.size(), 1u);
    EXPECT_EQ(s->samples[0], picture);
    zif_release(picture);
    zif_release(wanted);
}

TEST_F(Resizer, AConsumerWithoutTargetIsRefusedWith23)
{
    zif_object *wanted = fftest::yuvDescription(ctx, 0, 0);
    uint64_t in = 0;
    addSink(wanted, &in);
    uint64_t node = zif_graphDirectCreateNode(graph, "ffmpeg.imageresizer", nullptr);
    EXPECT_EQ(zif_graphCreateConnection(graph, zif_graphFindNodePort(graph, node, "ffmpeg.imageresize.out"), in), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_MISSING_ENTRY);
    zif_release(wanted);
}

}  // namespace
