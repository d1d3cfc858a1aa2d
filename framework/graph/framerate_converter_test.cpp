// The frame rate converter node on hand-made frames: blending between two
// frames of one layout, the nearer frame when layouts differ, and the end
// of the stream on the last output.
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

namespace {

// A node's queue and what it received.
struct Endpoint {
    zif_object *queue = nullptr;
    std::vector<zif_object *> samples;
    ~Endpoint()
    {
        zif_release(queue);
        for (zif_object *s : samples)
            zif_release(s);
    }
};

Endpoint *endpointOf(zif_object *node) { return reinterpret_cast<Endpoint *>(zif_nodeGetUserData(node)); }

int32_t keepQueue(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    endpointOf(node)->queue = zif_portConnectorGetQueue(connector);
    zif_release(node);
    return 1;
}

int32_t collect(zif_object *node)
{
    Endpoint *e = endpointOf(node);
    while (zif_object *s = zif_listRemoveFirst(e->queue)) {
        if (zif_tableGetInt(s, "endofstream", 0))
            zif_nodeSetFinishedForNow(node, 1);
        e->samples.push_back(s);
    }
    return 1;
}

struct Output {
    int luma;
    int64_t width;
    int64_t end;
    bool operator==(const Output &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Output &o)
{
    return os << "{luma " << o.luma << ", width " << o.width << ", end " << o.end << "}";
}

class Converter : public GraphTest {
protected:
    // Two frames at 10 fps (0 s: width 2, luma 0; 0.1 s: the given width,
    // luma 100, last) through source -> framerateconvert -> sink at exactly
    // 20 fps; what the sink received.
    std::vector<Output> convert(int64_t secondWidth)
    {
        Endpoint source, sink;
        zif_object *g = own(zif_newGraph(ctx, 0));
        zif_object *src = own(zif_graphAddNewNode(g, "source"));
        zif_nodeSetUserData(src, reinterpret_cast<intptr_t>(&source));
        zif_object *out = own(zif_nodeAddNewPort(src, ZIF_PORT_OUTPUT, "source.out"));
        zif_portSetDescription(out, value("{portclass: \"data\", format: \"yuv.separate\", framerate: 10}"));
        zif_portSetOnConnectFunc(out, keepQueue);
        zif_object *dst = own(zif_graphAddNewNode(g, "sink"));
        zif_nodeSetUserData(dst, reinterpret_cast<intptr_t>(&sink));
        zif_nodeSetWorkFunc(dst, collect);
        zif_object *in = own(zif_nodeAddNewPort(dst, ZIF_PORT_INPUT, "sink.in"));
        zif_portSetDescription(in, value("{portclass: \"data\", format: \"yuv.separate\", framerate: 20, framerateexact: 1}"));
        zif_portSetOnConnectFunc(in, keepQueue);
        uint64_t converter = zif_graphDirectCreateNode(g, "framerateconvert", nullptr);
        EXPECT_EQ(zif_graphCreateConnection(g, zif_portGetID(out), zif_graphFindNodePort(g, converter, "framerateconvert.in")), 1);
        EXPECT_EQ(zif_graphCreateConnection(g, zif_graphFindNodePort(g, converter, "framerateconvert.out"), zif_portGetID(in)), 1);

        addFrame(source.queue, 0, 2, 0, false);
        addFrame(source.queue, 1, secondWidth, 100, true);
        for (int pass = 0; pass < 10 && !zif_nodeGetFinishedForNow(dst); ++pass)
            EXPECT_EQ(zif_graphWork(g), 1);
        std::vector<Output> outputs;
        for (zif_object *s : sink.samples)
            outputs.push_back({luma(s), zif_tableGetInt(s, "width", -1), zif_tableGetInt(s, "endofstream", -1)});
        return outputs;
    }

    // A one-row, luma-only frame whose bytes all hold luma.
    void addFrame(zif_object *queue, int64_t tenths, int64_t width, int luma, bool last)
    {
        zif_object *f = zif_newTable(ctx);
        std::string bytes(static_cast<size_t>(width), static_cast<char>(luma));
        zif_tableSetData(f, "yuv.data.y", bytes.data(), static_cast<int32_t>(width));
        zif_tableSetInt(f, "width", width);
        zif_tableSetInt(f, "height", 1);
        zif_tableSetInt(f, "yuv.linedelta.y", width);
        zif_tableSetFract(f, "presentationtime", 0, tenths, 10);
        zif_tableSetInt(f, "endofstream", last);
        zif_listAdd(queue, f);
        zif_release(f);
    }

    static int luma(zif_object *s)
    {
        const uint8_t *y = nullptr;
        int32_t size = 0;
        return zif_tableGetData(s, "yuv.data.y", &y, &size, nullptr, 0) && size ? y[0] : -1;
    }
};

TEST_F(Converter, BlendsFramesOfOneLayout)
{
    // The output halfway between the frames is mixed 50/50.
    EXPECT_EQ(convert(2), (std::vector<Output>{{0, 2, 0}, {50, 2, 0}, {100, 2, 0}, {100, 2, 1}}));
}

TEST_F(Converter, TakesTheNearerFrameWhenLayoutsDiffer)
{
    // At weight 0.5 the later frame is the nearer one.
    EXPECT_EQ(convert(4), (std::vector<Output>{{0, 2, 0}, {100, 4, 0}, {100, 4, 0}, {100, 4, 1}}));
}

}  // namespace
