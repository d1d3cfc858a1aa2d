// Graphs, nodes and ports: creation, lookups, change counting, the port
// iterator's filters and the graph log.
#include "framework/graph/graph_types.h"
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Graph = GraphTest;

uint64_t changeCounter(zif_object *graph) { return zif::graphRecord(graph)->changeCounter; }

std::set<std::string> iterate(zif_object *graph, int32_t type, int32_t connection, zif_object *filter, int32_t level)
{
    std::set<std::string> names;
    zif_object *it = zif_graphNewPortIterator(graph, type, connection, filter, level);
    if (!it)
        return {"<null>"};
    while (zif_object *p = zif_iteratorNext(it)) {
        names.insert(textOf(zif_portGetName(p)));
        zif_release(p);
    }
    zif_release(it);
    return names;
}

TEST_F(Graph, NewPortHasDefaultsAndBelongsToItsNode)
{
    zif_object *n = node("decoder");
    zif_object *p = port(n, ZIF_PORT_OUTPUT, "decoder.out");
    EXPECT_EQ(zif_portGetMinConnections(p), 1);
    EXPECT_EQ(zif_portGetMaxConnections(p), 1);
    EXPECT_EQ(zif_portGetConnectorCount(p), 0);
    EXPECT_EQ(zif_portGetDescription(p), nullptr);
    EXPECT_EQ(zif_portGetType(p), ZIF_PORT_OUTPUT);
    zif_object *owner = zif_portGetNode(p);
    EXPECT_EQ(owner, n);
    zif_release(owner);
    zif_object *g = zif_nodeGetGraph(n);
    EXPECT_EQ(g, graph);
    zif_release(g);
    EXPECT_NE(zif_nodeGetID(n), zif_portGetID(p));
    EXPECT_EQ(zif_nodeAddNewPort(n, 2, "bad"), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(Graph, FindsNewestNodeAndPortByName)
{
    zif_object *first = node("same");
    zif_object *second = node("same");
    EXPECT_EQ(zif_graphFindNode(graph, "same"), zif_nodeGetID(second));
    EXPECT_EQ(zif_graphFindNode(graph, "other"), 0u);

    port(first, ZIF_PORT_INPUT, "in");
    zif_object *newer = port(first, ZIF_PORT_OUTPUT, "in");
    EXPECT_EQ(zif_graphFindNodePort(graph, zif_nodeGetID(first), "in"), zif_portGetID(newer));

    zif_clearLastError(ctx);
    EXPECT_EQ(zif_graphFindNodePort(graph, 999999, "in"), 0u);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_graphFindNodePort(graph, zif_nodeGetID(first), "missing"), 0u);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
}

TEST_F(Graph, RenamingChangesTheGraphButDebugTextDoesNot)
{
    zif_object *n = node("a");
    uint64_t before = changeCounter(graph);
    ASSERT_EQ(zif_nodeSetDebugText(n, "reading <x>"), 1);
    EXPECT_EQ(changeCounter(graph), before);
    EXPECT_EQ(textOf(zif_graphGetNodeDebugText(graph, zif_nodeGetID(n))), "reading <x>");
    EXPECT_EQ(zif_graphGetNodeDebugText(graph, 424242), nullptr);

    ASSERT_EQ(zif_nodeSetName(n, "b"), 1);
    EXPECT_GT(changeCounter(graph), before);
    EXPECT_EQ(textOf(zif_nodeGetName(n)), "b");
}

TEST_F(Graph, PortIteratorFilters)
{
    zif_object *a = node("a");
    port(a, ZIF_PORT_OUTPUT, "a.video", "{portclass: \"data\", format: \"yuv.separate\"}");
    port(a, ZIF_PORT_OUTPUT, "a.audio", "{portclass: \"data\", format: \"pcm.interleaved\"}");
    zif_object *b = node("b");
    zif_object *in = port(b, ZIF_PORT_INPUT, "b.in", "{portclass: \"data\", format: [\"yuv.separate\", \"rgb.interleaved\"]}");
    zif_object *many = port(b, ZIF_PORT_INPUT, "b.many");
    zif_portSetMaxConnections(many, -1);
    zif_portSetMinConnections(many, 0);

    using Names = std::set<std::string>;
    EXPECT_EQ(iterate(graph, -1, -1, nullptr, 0), (Names{"a.video", "a.audio", "b.in", "b.many"}));
    EXPECT_EQ(iterate(graph, ZIF_PORT_INPUT, -1, nullptr, 0), (Names{"b.in", "b.many"}));
    EXPECT_EQ(iterate(graph, -1, 1, nullptr, 0), (Names{"a.video", "a.audio", "b.in"}));
    zif_object *video = value("{format: \"yuv.separate\"}");
    EXPECT_EQ(iterate(graph, ZIF_PORT_OUTPUT, 0, video, 2), (Names{"a.video"}));
    // A port without description constrains nothing, so it matches too.
    EXPECT_EQ(iterate(graph, ZIF_PORT_INPUT, 0, video, 2), (Names{"b.in", "b.many"}));
    EXPECT_EQ(zif_valueIsLocked(video), 1);

    for (auto [type, connection, level] : {std::tuple{2, 0, 0}, {-2, 0, 0}, {0, 2, 0}, {0, 0, 4}}) {
        zif_clearLastError(ctx);
        zif_object *filter = level ? video : nullptr;
        EXPECT_EQ(zif_graphNewPortIterator(graph, type, connection, filter, level), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
    (void)in;
}

TEST_F(Graph, PortIteratorSkipsFullPortsButNeverUnlimitedOnes)
{
    zif_object *a = node("a");
    zif_object *out = port(a, ZIF_PORT_OUTPUT, "a.out");
    zif_object *b = node("b");
    zif_object *in = port(b, ZIF_PORT_INPUT, "b.in");
    zif_portSetMaxConnections(in, -1);
    ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(out), zif_portGetID(in)), 1);
    EXPECT_EQ(iterate(graph, -1, 0, nullptr, 0), (std::set<std::string>{"b.in"}));
}

TEST_F(Graph, IteratorKeepsTheGraphAlive)
{
    zif_object *g = zif_newGraph(ctx, 0);
    zif_object *a = zif_graphAddNewNode(g, "a");
    zif_release(zif_nodeAddNewPort(a, ZIF_PORT_OUTPUT, "a.out"));
    zif_release(a);
    zif_object *it = zif_graphNewPortIterator(g, -1, -1, nullptr, 0);
    zif_release(g);
    zif_object *p = zif_iteratorNext(it);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(textOf(zif_portGetName(p)), "a.out");
    zif_release(p);
    EXPECT_EQ(zif_iteratorNext(it), nullptr);
    zif_release(it);
}

TEST_F(Graph, LogForwardsToTheContextLogWithTheGraphPrefix)
{
    ASSERT_EQ(zif_graphLog(graph, ZIF_LOG_INFO, "src", "hello"), 1);
    ASSERT_EQ(zif_graphLogWithValue(graph, ZIF_LOG_INFO, "src", "value", value("{width: 4}")), 1);
    std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "src|hello");
    EXPECT_EQ(lines[1].rfind("src|value\n", 0), 0u);
    EXPECT_EQ(lines[1].back(), '\n');

    zif_object *contextLog = zif_getLog(ctx);
    zif_object *entries = zif_logGetEntries(contextLog);
    std::string source;
    while (zif_object *e = zif_iteratorNext(entries)) {
        source = textOf(zif_logEntryGetSource(e));
        zif_release(e);
    }
    zif_release(entries);
    zif_release(contextLog);
    EXPECT_EQ(source.rfind("graph", 0), 0u);
    EXPECT_EQ(source.substr(source.size() - 4), "-src");
}

// A client keeps a node and a port after the graph is gone: they stay
// readable and no longer point at the graph.
TEST_F(Graph, NodesAndPortsOutliveTheirGraphSafely)
{
    zif_object *g = zif_newGraph(ctx, 0);
    zif_object *n = zif_graphAddNewNode(g, "kept");
    zif_object *p = zif_nodeAddNewPort(n, ZIF_PORT_OUTPUT, "kept.out");
    zif_object *m = zif_graphAddNewNode(g, "other");
    zif_object *q = zif_nodeAddNewPort(m, ZIF_PORT_INPUT, "other.in");
    ASSERT_EQ(zif_graphCreateConnection(g, zif_portGetID(p), zif_portGetID(q)), 1);
    zif_release(g);
    EXPECT_EQ(zif_nodeGetGraph(n), nullptr);
    EXPECT_EQ(zif_portGetConnectorCount(p), 0);
    EXPECT_EQ(zif_portSetName(p, "renamed"), 1);
    EXPECT_EQ(zif_nodeSetName(n, "renamed"), 1);
    EXPECT_EQ(textOf(zif_nodeGetName(n)), "renamed");
    zif_release(q);
    zif_release(m);
    zif_release(n);
    zif_object *orphanNode = zif_portGetNode(p);
    EXPECT_EQ(orphanNode, nullptr);
    zif_release(p);
}

// A slave's graph asks its master for IDs and reports changes before making
// them; a refusal fails the call with the master's status.
TEST_F(Graph, SlaveGraphForwardsToItsMaster)
{
    struct Master {
        int32_t status = 0;
        uint64_t next = 1000;
        std::vector<std::string> calls;
    } master;
    zif::GraphRemote remote{};
    remote.user = &master;
    remote.newNodeId = [](void *user, const char *name, uint64_t *id) {
        auto *m = static_cast<Master *>(user);
        m->calls.push_back(std::string("node ") + name);
        *id = m->next++;
        return m->status;
    };
    remote.portSetDescription = [](void *user, uint64_t, zif_object *) {
        auto *m = static_cast<Master *>(user);
        m->calls.push_back("description");
        return m->status;
    };
    zif::graphMakeSlave(graph, remote, nullptr);
    zif_object *n = node("boxed");
    EXPECT_EQ(zif_nodeGetID(n), 1000u);
    zif_object *p = port(n, ZIF_PORT_OUTPUT, "boxed.out");
    EXPECT_NE(zif_portGetID(p), 0u);  // no port hook: the slave's own counter
    ASSERT_EQ(zif_portSetDescription(p, value("{a: 1}")), 1);

    master.status = ZIF_ERR_PARTNER_ENDED;
    EXPECT_EQ(zif_graphAddNewNode(graph, "refused"), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_PARTNER_ENDED);
    EXPECT_EQ(zif_portSetDescription(p, value("{a: 2}")), 0);
    zif_object *kept = zif_portGetDescription(p);
    EXPECT_EQ(xml(kept), xml(value("{a: 1}")));
    zif_release(kept);
    EXPECT_EQ(master.calls, (std::vector<std::string>{"node boxed", "description", "node refused", "description"}));
}

}  // namespace
