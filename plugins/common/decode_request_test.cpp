#include "plugins/common/decode_request.h"
#include "plugins/common/plugin_errors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A node with only a decoder's command port, connected to a static "read"
// command carrying the given entries.
class CommandPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(zif_create(&ctx), 0);
        graph = zif_newGraph(ctx, 0);
        ASSERT_NE(graph, nullptr);
    }
    void TearDown() override
    {
        zif_release(graph);
        zif_destroy(ctx);
    }

    static int32_t onConnect(zif_object *port, zif_object *connector)
    {
        auto *self = reinterpret_cast<CommandPort *>(zif_portGetUserData(port));
        return plugins::decodeRequestRead(connector, &self->request) ? 1 : 0;
    }

    // Connects; returns the connection result.
    int32_t connectWith(zif_object *entries)
    {
        zif_object *command = nullptr;
        EXPECT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &command));
        zif_object *node = zif_graphAddNewNode(graph, "decoder");
        zif_object *port = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "decoder.commandin");
        zif_object *d = plugins::commandPortDescription(ctx);
        zif_portSetDescription(port, d);
        zif_portSetUserData(port, reinterpret_cast<intptr_t>(this));
        zif_portSetRequestConnectFunc(port, plugins::commandPortAcceptsPartner);
        zif_portSetOnConnectFunc(port, onConnect);
        uint64_t out = zif_graphFindNodePort(graph, zif_nodeGetID(command), "input");
        int32_t result = zif_graphCreateConnection(graph, out, zif_portGetID(port));
        for (zif_object *o : {d, port, node, command})
            zif_release(o);
        return result;
    }

    zif_context *ctx = nullptr;
    zif_object *graph = nullptr;
    plugins::DecodeRequest request;
};

TEST_F(CommandPort, AcceptsOnlyLocalFiles)
{
    struct Case {
        const char *uri;
        bool accepted;
    };
    const Case cases[] = {
        {"file:///tmp/clip.mp4", true},
        {"/tmp/clip.mp4", true},
        {"http://example.org/clip.mp4", false},
        {"rtsp://camera/stream", false},
    };
    for (const Case &c : cases) {
        zif_object *port = zif_newTable(ctx);  // stands in for the port: only its context is used
        zif_object *partner = zif_newTable(ctx);
        zif_tableSetString(partner, "uri", c.uri);
        EXPECT_EQ(plugins::commandPortAcceptsPartner(port, partner), c.accepted ? 1 : 0) << c.uri;
        zif_release(partner);
        zif_release(port);
    }
    zif_object *partner = zif_newTable(ctx);
    zif_tableSetInt(partner, "uri", 7);
    EXPECT_EQ(plugins::commandPortAcceptsPartner(partner, partner), 0) << "a uri that is no text";
    zif_release(partner);
}

TEST_F(CommandPort, ReadsTheRequestWithDefaults)
{
    zif_object *entries = zif_newTable(ctx);
    zif_tableSetString(entries, "uri", "file:///tmp/a%20b.mp4");
    zif_tableSetDouble(entries, "decodestarttime", 1.5);
    zif_tableSetInt(entries, "wantaudio", 0);
    ASSERT_EQ(connectWith(entries), 1);
    zif_release(entries);
    EXPECT_EQ(request.path, "/tmp/a b.mp4");
    EXPECT_DOUBLE_EQ(request.startTime, 1.5);
    EXPECT_FALSE(request.hasEnd());
    EXPECT_TRUE(request.wantVideo);
    EXPECT_FALSE(request.wantAudio);
}

TEST_F(CommandPort, MissingUriFailsTheConnectionWith23)
{
    zif_object *node = zif_graphAddNewNode(graph, "decoder");
    zif_object *port = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "decoder.commandin");
    zif_portSetUserData(port, reinterpret_cast<intptr_t>(this));
    zif_portSetOnConnectFunc(port, onConnect);
    zif_object *command = nullptr;
    ASSERT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", nullptr, "input", &command));
    uint64_t out = zif_graphFindNodePort(graph, zif_nodeGetID(command), "input");
    EXPECT_EQ(zif_graphCreateConnection(graph, out, zif_portGetID(port)), 0);
    EXPECT_EQ(zif_getLastError(ctx), plugins::kErrMissingEntry);
    for (zif_object *o : {port, node, command})
        zif_release(o);
}

}  // namespace
