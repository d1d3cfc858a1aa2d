// Connecting and disconnecting ports: refusals with their error codes,
// the overlap both connectors share, the hooks, and the block lists.
#include "framework/graph/graph_types.h"
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// What the hooks of one test saw; the ports' user data points at it.
struct Hooks {
    int32_t requestAnswer = 1;
    int32_t connectAnswer = 1;
    std::vector<std::string> calls;
    zif_object *lastConnector = nullptr;
};

Hooks *hooksOf(zif_object *port) { return reinterpret_cast<Hooks *>(zif_portGetUserData(port)); }

std::string nameOf(zif_object *port) { return textOf(zif_portGetName(port)); }

int32_t requestConnect(zif_object *port, zif_object *)
{
    hooksOf(port)->calls.push_back("request " + nameOf(port));
    return hooksOf(port)->requestAnswer;
}

void disconnected(zif_object *connector)
{
    zif_object *port = zif_portConnectorGetPort(connector);
    hooksOf(port)->calls.push_back("disconnect " + nameOf(port));
    zif_release(port);
}

int32_t onConnect(zif_object *port, zif_object *connector)
{
    Hooks *h = hooksOf(port);
    h->calls.push_back("connect " + nameOf(port));
    h->lastConnector = connector;
    zif_portConnectorSetDisconnectFunc(connector, disconnected);
    return h->connectAnswer;
}

class Connection : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        out = port(node("source"), ZIF_PORT_OUTPUT, "out", "{format: [\"a\", \"b\"]}");
        in = port(node("sink"), ZIF_PORT_INPUT, "in", "{format: \"b\"}");
        for (zif_object *p : {out, in}) {
            zif_portSetUserData(p, reinterpret_cast<intptr_t>(&hooks));
            zif_portSetRequestConnectFunc(p, requestConnect);
            zif_portSetOnConnectFunc(p, onConnect);
        }
    }

    int32_t connect() { return zif_graphCreateConnection(graph, zif_portGetID(out), zif_portGetID(in)); }

    const std::vector<uint64_t> &blocks(zif_object *port) { return zif::portRecord(port)->blockList; }
    uint64_t descId(zif_object *port) { return zif::portRecord(port)->descriptionId; }

    Hooks hooks;
    zif_object *out = nullptr;
    zif_object *in = nullptr;
};

TEST_F(Connection, ConnectsEitherOrderWithTheSharedOverlap)
{
    ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(in), zif_portGetID(out)), 1);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"request out", "request in", "connect out", "connect in"}));
    zif_object *inConnector = hooks.lastConnector;
    zif_object *agreed = zif_portConnectorGetDescription(inConnector);
    EXPECT_EQ(xml(agreed), xml(value("{format: \"b\"}")));
    EXPECT_EQ(zif_valueIsLocked(agreed), 1);
    zif_release(agreed);
    zif_object *partner = zif_portConnectorGetPartnerDescription(inConnector);
    EXPECT_EQ(xml(partner), xml(value("{format: [\"a\", \"b\"]}")));
    zif_release(partner);
    EXPECT_EQ(zif_portGetConnectorCount(out), 1);
    EXPECT_EQ(zif_portGetConnectorCount(in), 1);
}

TEST_F(Connection, RefusalsLeaveTheGraphUnchanged)
{
    zif_object *secondIn = port(node("other"), ZIF_PORT_INPUT, "in2", "{format: \"c\"}");
    zif_object *closedIn = port(node("closed"), ZIF_PORT_INPUT, "in3");
    zif::portRecord(closedIn)->closed = true;
    struct Case {
        const char *what;
        uint64_t a, b;
        int32_t error;
    } cases[] = {
        {"two inputs", zif_portGetID(in), zif_portGetID(secondIn), ZIF_ERR_INVALID_ARGUMENT},
        {"unknown port", zif_portGetID(out), 987654, ZIF_ERR_INVALID_ARGUMENT},
        {"closed port", zif_portGetID(out), zif_portGetID(closedIn), ZIF_ERR_PORT_CLOSED},
        {"descriptions disagree", zif_portGetID(out), zif_portGetID(secondIn), ZIF_ERR_DESCRIPTION_MISMATCH},
    };
    for (const Case &c : cases) {
        uint64_t before = zif::graphRecord(graph)->changeCounter;
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_graphCreateConnection(graph, c.a, c.b), 0) << c.what;
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.what;
        EXPECT_EQ(zif::graphRecord(graph)->changeCounter, before) << c.what;
        EXPECT_EQ(zif_portGetConnectorCount(out), 0) << c.what;
    }
}

TEST_F(Connection, FullPortGivesNoFreeSlot)
{
    ASSERT_EQ(connect(), 1);
    zif_object *another = port(node("more"), ZIF_PORT_INPUT, "in4");
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_graphCreateConnection(graph, zif_portGetID(out), zif_portGetID(another)), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NO_FREE_SLOT);
}

TEST_F(Connection, RequestConnectRefusals)
{
    hooks.requestAnswer = 0;
    EXPECT_EQ(connect(), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_CONNECTION_REFUSED);
    // The input side is not asked once the output refused.
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"request out"}));
    EXPECT_EQ(zif_portGetConnectorCount(out), 0);
    EXPECT_EQ(zif_portGetConnectorCount(in), 0);
}

TEST_F(Connection, InputOnConnectRefusalDisconnectsOutputSideAndBlocksThePair)
{
    zif_portSetOnConnectFunc(out, onConnect);
    struct InputRefuses {
        static int32_t hook(zif_object *port, zif_object *connector)
        {
            hooksOf(port)->calls.push_back("refuse " + nameOf(port));
            zif_portConnectorSetDisconnectFunc(connector, disconnected);
            zif_setLastError(zif_objectGetContext(port), 23);
            return 0;
        }
    };
    zif_portSetOnConnectFunc(in, InputRefuses::hook);
    EXPECT_EQ(connect(), 0);
    EXPECT_EQ(zif_getLastError(ctx), 23);
    EXPECT_EQ(hooks.calls,
              (std::vector<std::string>{"request out", "request in", "connect out", "refuse in", "disconnect out"}));
    EXPECT_EQ(zif_portGetConnectorCount(out), 0);
    EXPECT_EQ(blocks(out), std::vector<uint64_t>{descId(in)});
    EXPECT_EQ(blocks(in), std::vector<uint64_t>{descId(out)});
    EXPECT_EQ(zif::portCompatibility(zif::portRecord(out), zif::portRecord(in)), ZIF_MATCH_NONE);

    // A new description on one side lifts the block on both.
    zif_portSetDescription(in, value("{format: \"b\"}"));
    EXPECT_TRUE(blocks(out).empty());
    EXPECT_TRUE(blocks(in).empty());
    zif_portSetOnConnectFunc(in, onConnect);
    EXPECT_EQ(connect(), 1);
}

TEST_F(Connection, OutputOnConnectRefusalCallsNoDisconnect)
{
    hooks.connectAnswer = 0;
    EXPECT_EQ(connect(), 0);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"request out", "request in", "connect out"}));
    EXPECT_EQ(blocks(in), std::vector<uint64_t>{descId(out)});
}

TEST_F(Connection, DestroyWithAndWithoutBlocking)
{
    for (int32_t block : {0, 1}) {
        SCOPED_TRACE(block);
        hooks.calls.clear();
        ASSERT_EQ(connect(), 1);
        zif_object *inConnector = hooks.lastConnector;
        zif_object *queue = zif_portConnectorGetQueue(inConnector);
        zif_addRef(inConnector);  // a plug-in keeps its connector
        EXPECT_EQ(zif_graphDestroyConnection(graph, inConnector, block), 1);
        EXPECT_EQ(hooks.calls.back(), "disconnect out");
        EXPECT_EQ(hooks.calls[hooks.calls.size() - 2], "disconnect in");
        EXPECT_EQ(zif_portGetConnectorCount(out), 0);
        EXPECT_EQ(zif_portGetConnectorCount(in), 0);
        EXPECT_EQ(blocks(in).size(), static_cast<size_t>(block));
        // A second destroy of the same connector is refused, not a crash.
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_graphDestroyConnection(graph, inConnector, 0), 0);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
        EXPECT_EQ(zif_portConnectorGetPort(inConnector), nullptr);
        zif_release(inConnector);
        zif_release(queue);
        zif_portSetDescription(out, value("{format: [\"a\", \"b\"]}"));  // lifts the block
    }
}

// A disconnect hook that drops the last reference to its own node must not
// leave the destroy reading freed records.
TEST_F(Connection, DestroyKeepsPortsAliveThroughTheHooks)
{
    zif_object *g = zif_newGraph(ctx, 0);
    zif_object *a = zif_graphAddNewNode(g, "a");
    zif_object *p = zif_nodeAddNewPort(a, ZIF_PORT_OUTPUT, "a.out");
    zif_object *b = zif_graphAddNewNode(g, "b");
    zif_object *q = zif_nodeAddNewPort(b, ZIF_PORT_INPUT, "b.in");
    zif_portSetUserData(q, reinterpret_cast<intptr_t>(&hooks));
    zif_portSetOnConnectFunc(q, onConnect);
    ASSERT_EQ(zif_graphCreateConnection(g, zif_portGetID(p), zif_portGetID(q)), 1);
    zif_object *c = hooks.lastConnector;
    zif_addRef(c);
    zif_release(p);
    zif_release(q);
    zif_release(a);
    zif_release(b);
    EXPECT_EQ(zif_graphDestroyConnection(g, c, 1), 1);
    zif_release(c);
    zif_release(g);
}

// Releasing a graph ends its connections through their disconnect hooks
// before anything is freed; connectors a plug-in keeps stay readable.
TEST_F(Connection, GraphTeardownDisconnectsFirst)
{
    zif_object *g = zif_newGraph(ctx, 0);
    zif_object *a = zif_graphAddNewNode(g, "a");
    zif_object *p = zif_nodeAddNewPort(a, ZIF_PORT_OUTPUT, "a.out");
    zif_object *b = zif_graphAddNewNode(g, "b");
    zif_object *q = zif_nodeAddNewPort(b, ZIF_PORT_INPUT, "b.in");
    for (zif_object *port : {p, q}) {
        zif_portSetUserData(port, reinterpret_cast<intptr_t>(&hooks));
        zif_portSetOnConnectFunc(port, onConnect);
    }
    ASSERT_EQ(zif_graphCreateConnection(g, zif_portGetID(p), zif_portGetID(q)), 1);
    zif_object *kept = zif_addRef(hooks.lastConnector);
    for (zif_object *o : {p, q, a, b})
        zif_release(o);
    hooks.calls.clear();
    zif_release(g);
    EXPECT_EQ(hooks.calls.size(), 2u);
    EXPECT_EQ(zif_portConnectorGetPort(kept), nullptr);
    zif_object *queue = zif_portConnectorGetQueue(kept);
    EXPECT_NE(queue, nullptr);
    zif_release(queue);
    zif_release(kept);
}

TEST_F(Connection, NewDescriptionKeepsConnectionsAndDrawsANewId)
{
    ASSERT_EQ(connect(), 1);
    uint64_t oldId = descId(in);
    uint64_t before = zif::graphRecord(graph)->changeCounter;
    ASSERT_EQ(zif_portSetDescription(in, value("{format: \"z\"}")), 1);
    EXPECT_NE(descId(in), oldId);
    EXPECT_GT(zif::graphRecord(graph)->changeCounter, before);
    EXPECT_EQ(zif_portGetConnectorCount(in), 1);
}

}  // namespace
