// The built-in plug-ins and builders: registration order, static command
// nodes, "connect" sweeps and "disableOptional".
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

namespace {

class Builtins : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        built = own(zif_newGraph(ctx, 1));
        ASSERT_NE(built, nullptr);
    }

    zif_object *built = nullptr;
};

TEST_F(Builtins, RegisteredInOrderWithoutModulePath)
{
    for (const char *name : {"connect", "filereader", "filewriter", "disableoptional", "framerateconvert"}) {
        zif_object *p = zif_findPluginWithName(ctx, name);
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(zif_pluginGetModulePath(p), nullptr);
        zif_release(p);
    }
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_findPluginWithName(ctx, "nosuch"), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
    EXPECT_EQ(zif_graphDirectCreateNode(graph, "nosuch", nullptr), 0u);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
    EXPECT_EQ(zif_graphDirectCreateNode(graph, "connect", nullptr), 0u);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NO_DIRECT_CREATE);
    EXPECT_NE(zif_graphDirectCreateNode(graph, "filewriter", nullptr), 0u);
}

TEST_F(Builtins, StaticCommandNode)
{
    zif_object *n = nullptr;
    ASSERT_EQ(zif_graphAddNewStaticCommandNode(graph, "read", value("{}"), "input", &n), 1);
    own(n);
    EXPECT_EQ(zif_nodeGetFinishedForNow(n), 1);
    EXPECT_EQ(zif_graphGetFinishedForNow(graph), 1);
    uint64_t portId = zif_graphFindNodePort(graph, zif_nodeGetID(n), "input");
    ASSERT_NE(portId, 0u);
    zif_object *it = zif_graphNewPortIterator(graph, ZIF_PORT_OUTPUT, -1, nullptr, 0);
    zif_object *p = zif_iteratorNext(it);
    zif_release(it);
    zif_object *d = zif_portGetDescription(p);
    EXPECT_EQ(xml(d), xml(value("{command: \"read\", portclass: \"staticcommand\"}")));
    zif_release(d);
    zif_release(p);

    ASSERT_EQ(zif_graphAddNewStaticCommandNode(graph, "write", value("{command: \"other\", uri: \"/x\"}"), "o", nullptr), 1);
    EXPECT_EQ(zif_graphAddNewStaticCommandNode(graph, "read", value("5"), "bad", nullptr), 0);
}

// The connect builder joins a required port at full agreement, and the
// search closes the optional port that no one serves.
TEST_F(Builtins, ConnectAndDisableOptionalCompleteAGraph)
{
    auto add = [&](const char *name, int32_t type, const char *description, int32_t max) {
        zif_object *n = own(zif_graphAddNewNode(built, name));
        zif_object *p = own(zif_nodeAddNewPort(n, type, name));
        zif_portSetDescription(p, value(description));
        zif_portSetMaxConnections(p, max);
        return p;
    };
    zif_object *out = add("out", ZIF_PORT_OUTPUT, "{format: \"b\"}", -1);
    zif_object *in = add("in", ZIF_PORT_INPUT, "{format: [\"a\", \"b\"]}", 1);
    ASSERT_EQ(zif_graphBuild(built), 1);
    EXPECT_EQ(zif_portGetConnectorCount(out), 1);
    EXPECT_EQ(zif_portGetConnectorCount(in), 1);
    // The output still had room: it was closed rather than left open.
    zif_object *open = zif_graphNewPortIterator(built, -1, 0, nullptr, 0);
    EXPECT_EQ(zif_iteratorNext(open), nullptr);
    zif_release(open);
}

// With a full and a partial partner for one required input, the full one
// is tried first.
TEST_F(Builtins, ConnectPrefersFullAgreement)
{
    auto add = [&](const char *name, int32_t type, const char *description) {
        zif_object *n = own(zif_graphAddNewNode(built, name));
        zif_object *p = own(zif_nodeAddNewPort(n, type, name));
        zif_portSetDescription(p, value(description));
        zif_portSetMinConnections(p, type == ZIF_PORT_INPUT ? 1 : 0);
        return p;
    };
    zif_object *partial = add("partial", ZIF_PORT_OUTPUT, "{format: \"b\"}");
    zif_object *full = add("full", ZIF_PORT_OUTPUT, "{format: \"b\", rate: 5}");
    add("in", ZIF_PORT_INPUT, "{format: \"b\", rate: I[1, 10]}");
    ASSERT_EQ(zif_graphBuild(built), 1);
    EXPECT_EQ(zif_portGetConnectorCount(full), 1);
    EXPECT_EQ(zif_portGetConnectorCount(partial), 0);
}

// "connect" tests the input's description as a constraint against the
// output's as a concrete value: an output that still offers alternatives
// is not proposed, although a direct connection narrows it to the overlap.
TEST_F(Builtins, ConnectTakesTheOutputDescriptionAsConcrete)
{
    zif_object *out = own(zif_nodeAddNewPort(own(zif_graphAddNewNode(built, "a")), ZIF_PORT_OUTPUT, "a.out"));
    zif_object *in = own(zif_nodeAddNewPort(own(zif_graphAddNewNode(built, "b")), ZIF_PORT_INPUT, "b.in"));
    zif_portSetDescription(out, value("{format: [\"a\", \"b\"]}"));
    zif_portSetDescription(in, value("{format: \"b\"}"));
    zif_portSetMinConnections(in, 1);
    EXPECT_EQ(zif_graphBuild(built), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BUILD_FAILED);
    EXPECT_EQ(zif_portGetConnectorCount(in), 0);

    ASSERT_EQ(zif_graphCreateConnection(built, zif_portGetID(out), zif_portGetID(in)), 1);
    EXPECT_EQ(zif_graphBuild(built), 1);
}

TEST_F(Builtins, FailingAddBuildersFailsTheGraph)
{
    struct Refuse {
        static int32_t addBuilders(zif_object *plugin, zif_object *)
        {
            zif_setLastError(zif_objectGetContext(plugin), ZIF_ERR_MISSING_ENTRY);
            return 0;
        }
    };
    zif_object *plugin = own(zif_newPlugin(ctx, "refuses"));
    zif_pluginSetAddBuildersFunc(plugin, Refuse::addBuilders);
    EXPECT_EQ(zif_newGraph(ctx, 1), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_MISSING_ENTRY);
    zif_object *plain = zif_newGraph(ctx, 0);
    EXPECT_NE(plain, nullptr);
    zif_release(plain);
}

TEST_F(Builtins, IncompatiblePortsCannotBeBuilt)
{
    zif_object *a = own(zif_graphAddNewNode(built, "a"));
    zif_portSetDescription(own(zif_nodeAddNewPort(a, ZIF_PORT_OUTPUT, "a.out")), value("{format: \"a\"}"));
    zif_object *b = own(zif_graphAddNewNode(built, "b"));
    zif_portSetDescription(own(zif_nodeAddNewPort(b, ZIF_PORT_INPUT, "b.in")), value("{format: \"c\"}"));
    EXPECT_EQ(zif_graphBuild(built), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BUILD_FAILED);
}

}  // namespace
