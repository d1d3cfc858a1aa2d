// Retiming through the search: a 25 fps generator and a consumer that wants
// exactly 30000/1001 fps make the build insert "framerateconvert", and the
// frames that reach the consumer are timed k x 1001/30000 exactly.
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

namespace {

const std::string kModule = std::string(VANTOREL_TEST_LIB_DIR) + "/libzif_testplug.so";

struct Received {
    zif_object *queue = nullptr;
    std::vector<FractParts> times;
    std::vector<int> firstLuma;
    std::vector<int64_t> ends;
};

Received *receivedOf(zif_object *node) { return reinterpret_cast<Received *>(zif_nodeGetUserData(node)); }

int32_t consumerConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    receivedOf(node)->queue = zif_portConnectorGetQueue(connector);
    zif_release(node);
    return 1;
}

int32_t consumerWork(zif_object *node)
{
    Received *r = receivedOf(node);
    while (zif_object *s = r->queue ? zif_listRemoveFirst(r->queue) : nullptr) {
        zif_object *t = zif_tableGet(s, "presentationtime");
        r->times.push_back(zif_objectGetType(t) == ZIF_TYPE_FRACT ? partsOf(t) : FractParts{-1, -1, -1});
        zif_release(t);
        const uint8_t *luma = nullptr;
        int32_t size = 0;
        r->firstLuma.push_back(zif_tableGetData(s, "yuv.data.y", &luma, &size, nullptr, 0) && size ? luma[0] : -1);
        r->ends.push_back(zif_tableGetInt(s, "endofstream", 0));
        if (r->ends.back())
            zif_nodeSetFinishedForNow(node, 1);
        zif_release(s);
    }
    return 1;
}

class FramerateConvert : public GraphTest {
protected:
    void TearDown() override
    {
        zif_release(received.queue);
        GraphTest::TearDown();
    }

    Received received;
};

TEST_F(FramerateConvert, SearchInsertsTheConverterAndTimesAreExact)
{
    ASSERT_NE(zif_loadPluginModule(ctx, kModule.c_str()), 0);
    zif_object *g = own(zif_newGraph(ctx, 1));
    ASSERT_NE(zif_graphDirectCreateNode(g, "testplug.generator", value("{frames: 25, framerate: 25}")), 0u);
    zif_object *consumer = own(zif_graphAddNewNode(g, "consumer"));
    zif_nodeSetUserData(consumer, reinterpret_cast<intptr_t>(&received));
    zif_nodeSetWorkFunc(consumer, consumerWork);
    zif_object *in = own(zif_nodeAddNewPort(consumer, ZIF_PORT_INPUT, "consumer.in"));
    zif_portSetDescription(in, value("{portclass: \"data\", format: \"yuv.separate\", framerate: 30000/1001, framerateexact: 1}"));
    zif_portSetOnConnectFunc(in, consumerConnect);

    ASSERT_EQ(zif_graphBuild(g), 1) << zif_getLastError(ctx);
    EXPECT_NE(zif_graphFindNode(g, "framerateconvert"), 0u);
    for (int pass = 0; pass < 200 && !zif_graphGetFinishedForNow(g); ++pass)
        ASSERT_EQ(zif_graphWork(g), 1);
    ASSERT_EQ(zif_graphGetFinishedForNow(g), 1);

    // One second of input gives the 30 output frames that start within it.
    ASSERT_EQ(received.times.size(), 30u);
    for (int64_t k = 0; k < 30; ++k) {
        const FractParts &t = received.times[static_cast<size_t>(k)];
        ASSERT_GT(t.den, 0) << k;
        // n + num/den == k x 1001 / 30000, compared without rounding.
        EXPECT_EQ((t.n * t.den + t.num) * 30000, k * 1001 * t.den) << k << ": " << t;
    }
    EXPECT_EQ(received.ends.back(), 1);
    EXPECT_EQ(received.ends[28], 0);
    // Output 1 at 1001/30000 s lies between frames 0 (luma 0) and 1 (luma 8,
    // at 1/25 s): weight 0.834..., so 8 x 54668 >> 16 = 6.
    EXPECT_EQ(received.firstLuma[0], 0);
    EXPECT_EQ(received.firstLuma[1], 6);
}

}  // namespace
