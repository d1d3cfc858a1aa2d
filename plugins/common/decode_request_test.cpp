#include "plugins/common/decode_request.h"
#include "plugins/common/decoder_node.h"
#include "plugins/common/plugin_errors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A decoder node with only its command port, connected to static "read"
// commands carrying the given entries.
class CommandPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(zif_create(&ctx), 0);
        graph = zif_newGraph(ctx, 0);
        ASSERT_NE(graph, nullptr);
        zif_object *node = plugins::decoderNodeAdd(graph, "test.decoder", nullptr, finishedWork, onConnect);
        ASSERT_NE(node, nullptr);
        zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(this));
        commandIn = zif_graphFindNodePort(graph, zif_nodeGetID(node), "test.decoder.commandin");
        zif_release(node);
        ASSERT_NE(commandIn, 0u);
    }
    void TearDown() override
    {
        zif_release(graph);
        zif_destroy(ctx);
    }

    static int32_t finishedWork(zif_object *node) { return zif_nodeSetFinishedForNow(node, 1); }
    static int32_t onConnect(zif_object *port, zif_object *connector)
    {
        zif_object *node = zif_portGetNode(port);
        auto *self = reinterpret_cast<CommandPort *>(zif_nodeGetUserData(node));
        zif_release(node);
        return plugins::decodeRequestRead(connector, &self->request) ? 1 : 0;
    }

    // Connects a new command; returns the connection result.
    int32_t connectWith(zif_object *entries)
    {
        zif_object *command = nullptr;
        EXPECT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &command));
        uint64_t out = zif_graphFindNodePort(graph, zif_nodeGetID(command), "input");
        zif_release(command);
        return zif_graphCreateConnection(graph, out, commandIn);
    }

    uint64_t commandIn = 0;
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
    EXPECT_EQ(connectWith(nullptr), 0);
    EXPECT_EQ(zif_getLastError(ctx), plugins::kErrMissingEntry);
}

TEST_F(CommandPort, TakesOneCommandOnly)
{
    zif_object *entries = zif_newTable(ctx);
    zif_tableSetString(entries, "uri", "/tmp/first.mp4");
    ASSERT_EQ(connectWith(entries), 1);
    zif_tableSetString(entries, "uri", "/tmp/second.mp4");
    EXPECT_EQ(connectWith(entries), 0);
    zif_release(entries);
    EXPECT_EQ(request.path, "/tmp/first.mp4");
}

}  // namespace
