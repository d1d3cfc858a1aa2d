#include "plugins/common/decoder_test_support.h"

#include <fstream>
#include <set>
#include <string>

namespace {

using plugintest::bytesOf;
using plugintest::secondsOf;
using plugintest::Sink;

// A node whose output port feeds control messages to the decoder.
struct Controller {
    zif_object *queue = nullptr;
    ~Controller() { zif_release(queue); }
};

int32_t controllerConnect(zif_object *port, zif_object *connector)
{
    auto *c = reinterpret_cast<Controller *>(zif_portGetUserData(port));
    zif_release(c->queue);
    c->queue = zif_portConnectorGetQueue(connector);
    return 1;
}

class StreamDecoder : public plugintest::DecoderTest {
protected:
    void SetUp() override
    {
        DecoderTest::SetUp();
        ASSERT_EQ(loadModule("libwyv_directshow.so"), 1);
    }
    int32_t connect(uint64_t command, uint64_t *node = nullptr) { return connectDecoder("directshow.decoder", command, node); }

    void makeClip() { ASSERT_TRUE(clip(std::string("-f lavfi -i testsrc=size=318x240:rate=25:duration=2 -f lavfi -i sine=duration=2 -c:v mpeg4 -c:a mp2 clip.avi"))); }

    uint64_t port(uint64_t node, const char *name)
    {
        for (uint64_t id : ports(node, -1, name))
            if (portName(id) == name)
                return id;
        ADD_FAILURE() << "no port " << name;
        return 0;
    }

    // Works until sink holds more than count samples with data.
    bool workUntil(Sink *sink, size_t count)
    {
        for (int i = 0; i < 10000 && sink->data().size() <= count; ++i)
            if (!zif_graphWork(graph))
                return false;
        return sink->data().size() > count;
    }

    zif_object *message(int64_t id, const char *control, double seekTime = -1)
    {
        zif_object *m = zif_newTable(ctx);
        zif_tableSetInt(m, "messageid", id);
        if (control)
            zif_tableSetString(m, "control", control);
        if (seekTime >= 0)
            zif_tableSetDouble(m, "seektime", seekTime);
        return m;
    }
};

void expectRgbPicture(zif_object *p, int width, int height)
{
    int64_t bits = zif_tableGetInt(p, "bitsperpixel", 0);
    int64_t pitch = zif_tableGetInt(p, "linedelta", 0);
    EXPECT_TRUE(bits == 24 || bits == 32) << bits;
    EXPECT_GE(pitch, bits / 8 * width);
    EXPECT_EQ(bytesOf(p, "data").size(), static_cast<size_t>(bits / 8 * width + pitch * (height - 1)));
    EXPECT_STREQ(zif_tableGetString(p, "format", ""), "rgb.interleaved");
    EXPECT_EQ(zif_tableGetInt(p, "rgb.offset.r", 0), 16);
}

TEST_F(StreamDecoder, TheBuilderPutsItBehindAReader)
{
    makeClip();
    addCommand(fileUri("clip.avi"));
    zif_object *wanted = zif_newTable(ctx);
    zif_tableSetString(wanted, "portclass", "data");
    zif_tableSetString(wanted, "mediatype", "video");
    zif_tableSetString(wanted, "format", "rgb.interleaved");
    Sink *sink = addSink(wanted);
    zif_release(wanted);
    ASSERT_EQ(zif_graphBuild(graph), 1) << "error " << zif_getLastError(ctx);
    ASSERT_TRUE(runToEnd()) << "error " << zif_getLastError(ctx);
    std::vector<zif_object *> pictures = sink->data();
    ASSERT_EQ(pictures.size(), 50u);
    for (zif_object *p : pictures)
        expectRgbPicture(p, 318, 240);
    EXPECT_NEAR(secondsOf(pictures[1]), 0.04, 1e-9);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(pictures[0], "framerate", 0), 25.0);
}

TEST_F(StreamDecoder, PortsShareOneControlId)
{
    makeClip();
    uint64_t node = 0;
    ASSERT_EQ(connect(addCommand(fileUri("clip.avi")), &node), 1) << "error " << zif_getLastError(ctx);
    std::set<int64_t> ids;
    for (const char *name : {"directshow.decoder.video.0", "directshow.decoder.audio.0", "directshow.control",
                             "directshow.controlresult"}) {
        zif_object *d = portDescription(port(node, name));
        ASSERT_NE(d, nullptr) << name;
        ids.insert(zif_tableGetInt(d, "controlid", 0));
        zif_release(d);
    }
    EXPECT_EQ(ids.size(), 1u);
    EXPECT_NE(*ids.begin(), 0);
    zif_object *sound = portDescription(port(node, "directshow.decoder.audio.0"));
    EXPECT_EQ(zif_tableGetInt(sound, "channels", 0), 1);
    EXPECT_EQ(zif_tableGetInt(sound, "samplerate", 0), 44100);
    EXPECT_NEAR(zif_tableGetDouble(sound, "duration", 0), 2.0, 0.1);
    zif_release(sound);
}

TEST_F(StreamDecoder, ControlMessagesSeekAndAnswer)
{
    makeClip();
    uint64_t node = 0;
    ASSERT_EQ(connect(addCommand(fileUri("clip.avi")), &node), 1) << "error " << zif_getLastError(ctx);
    Sink *pictures = addSink(port(node, "directshow.decoder.video.0"));
    Sink *answers = addSink(port(node, "directshow.controlresult"));
    Controller controller;
    zif_object *c = zif_graphAddNewNode(graph, "test.controller");
    zif_object *out = zif_nodeAddNewPort(c, ZIF_PORT_OUTPUT, "test.controller.out");
    zif_portSetUserData(out, reinterpret_cast<intptr_t>(&controller));
    zif_portSetOnConnectFunc(out, controllerConnect);
    ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(out), port(node, "directshow.control")), 1);
    zif_release(out);
    zif_release(c);

    ASSERT_TRUE(workUntil(pictures, 3));
    size_t before = pictures->data().size();
    for (zif_object *m : {message(0, "control.seektotime", 0.2), message(1, "control.seektotime", 1.0),
                          message(2, "control.bogus"), message(3, "control.seektotime"), message(4, nullptr)}) {
        zif_listAdd(controller.queue, m);
        zif_release(m);
    }
    ASSERT_TRUE(workUntil(pictures, before));
    EXPECT_NEAR(secondsOf(pictures->data()[before]), 1.0, 0.05) << "the next picture follows the seek";
    std::vector<std::pair<int64_t, int64_t>> results;
    for (zif_object *a : answers->samples)
        results.emplace_back(zif_tableGetInt(a, "messageid", -1), zif_tableGetInt(a, "controlresult", -1));
    const std::vector<std::pair<int64_t, int64_t>> expected = {{1, 0}, {2, 29}, {3, 22}, {4, 22}};
    EXPECT_EQ(results, expected) << "message 0 gets no answer";
}

TEST_F(StreamDecoder, RefusesWhatItCannotDecode)
{
    ASSERT_TRUE(clip("-f lavfi -i sine=duration=1 -ac 6 -c:a pcm_s16le six.wav"));
    std::ofstream(file("notes.avi")) << "no media in here\n";
    struct Case {
        const char *file;
        int32_t error;
    };
    for (const Case &c : {Case{"notes.avi", 15}, Case{"gone.avi", 15}, Case{"six.wav", 14}}) {
        zif_setLastError(ctx, 0);
        EXPECT_EQ(connect(addCommand(fileUri(c.file))), 0) << c.file;
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.file;
    }
}

}  // namespace
