// The backtracking search: test builders drive each path (failing apply,
// dead end, visited state, missing apply function, exhaustion, step cap)
// and the graph log shows the exact steps taken.
#include "framework/graph/graph_types.h"
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A builder whose behaviour a test writes as lambdas.
struct Script {
    using AddChoices = std::function<int32_t(zif_object *builder, zif_object *graph)>;
    using Apply = std::function<int32_t(zif_object *graph, zif_object *choice)>;
    Script(AddChoices add, Apply applyChoice) : addChoices(std::move(add)), apply(std::move(applyChoice)) {}

    AddChoices addChoices;
    Apply apply;
    std::vector<std::string> undone;
    int addChoicesCalls = 0;
};

Script *scriptOf(zif_object *builder) { return reinterpret_cast<Script *>(zif_graphBuilderGetUserData(builder)); }

int32_t scriptAddChoices(zif_object *builder, zif_object *graph)
{
    Script *s = scriptOf(builder);
    ++s->addChoicesCalls;
    return s->addChoices ? s->addChoices(builder, graph) : 1;
}

int32_t scriptApply(zif_object *builder, zif_object *graph, zif_object *choice)
{
    return scriptOf(builder)->apply(graph, choice);
}

int32_t scriptUndo(zif_object *builder, zif_object *, zif_object *choice)
{
    scriptOf(builder)->undone.push_back(zif_stringGetValue(choice));
    return 1;
}

class Build : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        src = node("src");
        out = port(src, ZIF_PORT_OUTPUT, "src.out");
    }

    zif_object *builder(const char *name, Script &script, double priority = 50.0, bool withApply = true)
    {
        zif_object *b = own(zif_graphAddNewBuilder(graph, name));
        zif_graphBuilderSetUserData(b, reinterpret_cast<intptr_t>(&script));
        zif_graphBuilderSetAddChoicesFunc(b, scriptAddChoices);
        if (withApply)
            zif_graphBuilderSetApplyChoiceFunc(b, scriptApply);
        zif_graphBuilderSetOnUndoChoiceFunc(b, scriptUndo);
        zif_graphBuilderSetPriority(b, priority);
        return b;
    }

    // Proposes each name as a choice while src.out has no connection.
    std::function<int32_t(zif_object *, zif_object *)> propose(std::vector<std::string> names)
    {
        return [this, names](zif_object *b, zif_object *g) {
            if (zif_portGetConnectorCount(out) > 0)
                return 1;
            for (const std::string &n : names) {
                zif_object *data = zif_newString(ctx, n.c_str());
                zif_graphAddChoice(g, b, data);
                zif_release(data);
            }
            return 1;
        };
    }

    // Adds a node with an input port and connects src.out to it.
    int32_t connectNewSink(zif_object *g, const char *name)
    {
        zif_object *n = zif_graphAddNewNode(g, name);
        zif_object *in = zif_nodeAddNewPort(n, ZIF_PORT_INPUT, "in");
        int32_t ok = zif_graphCreateConnection(g, zif_portGetID(out), zif_portGetID(in));
        zif_release(in);
        zif_release(n);
        return ok;
    }

    // Adds a node whose input nobody will serve.
    void addNeedyNode(zif_object *g, const char *name)
    {
        zif_object *n = zif_graphAddNewNode(g, name);
        zif_release(zif_nodeAddNewPort(n, ZIF_PORT_INPUT, "needs"));
        zif_release(n);
    }

    // The log's lines cut at their first line break (value dumps dropped).
    std::vector<std::string> steps()
    {
        std::vector<std::string> lines = logLines();
        for (std::string &l : lines)
            l = l.substr(0, l.find('\n'));
        return lines;
    }

    zif_object *src = nullptr;
    zif_object *out = nullptr;
};

TEST_F(Build, WithoutBuildersCompleteOrDeadEnd)
{
    zif_release(zif_nodeAddNewPort(src, ZIF_PORT_OUTPUT, "x"));
    zif_portSetMinConnections(out, 0);
    EXPECT_EQ(zif_graphBuild(graph), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BUILD_FAILED);
    EXPECT_EQ(steps(), std::vector<std::string>{"build|reached dead end. Backtracking..."});

    zif_object *g = own(zif_newGraph(ctx, 0));
    zif_object *n = own(zif_graphAddNewNode(g, "lonely"));
    zif_object *p = own(zif_nodeAddNewPort(n, ZIF_PORT_INPUT, "optional"));
    zif_portSetMinConnections(p, 0);
    EXPECT_EQ(zif_graphBuild(g), 1);
}

TEST_F(Build, SecondBuildWithoutChangesRunsNoBuilder)
{
    Script wire{propose({"sink"}), [&](zif_object *g, zif_object *) { return connectNewSink(g, "sink"); }};
    builder("wire", wire);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    int calls = wire.addChoicesCalls;
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_EQ(wire.addChoicesCalls, calls);
    zif_nodeSetName(src, "renamed");
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_GT(wire.addChoicesCalls, calls);
}

TEST_F(Build, HigherPriorityProposesFirst)
{
    std::vector<std::string> order;
    Script low{[&](zif_object *b, zif_object *g) {
                   order.push_back("low");
                   return propose({"low"})(b, g);
               },
               [&](zif_object *g, zif_object *) { return connectNewSink(g, "from-low"); }};
    Script high{[&](zif_object *b, zif_object *g) {
                    order.push_back("high");
                    return propose({"high"})(b, g);
                },
                [&](zif_object *g, zif_object *) { return connectNewSink(g, "from-high"); }};
    builder("low", low, 25);
    builder("high", high, 200);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_EQ(order[0], "high");
    EXPECT_NE(zif_graphFindNode(graph, "from-high"), 0u);
    EXPECT_EQ(zif_graphFindNode(graph, "from-low"), 0u);
}

TEST_F(Build, FailedApplyIsRestoredAndTheSiblingApplied)
{
    Script wire{propose({"bad", "good"}), [&](zif_object *g, zif_object *choice) {
                    if (std::string(zif_stringGetValue(choice)) == "bad") {
                        addNeedyNode(g, "half-made");
                        return 0;
                    }
                    return connectNewSink(g, "sink");
                }};
    builder("wire", wire);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_EQ(steps(), (std::vector<std::string>{
                           "|add choice from 'wire'.",
                           "|add choice from 'wire'.",
                           "|lvl_1: applying choice from 'wire'.",
                           "|applying FAILED!",
                           "backtrack|restoring graph state",
                           "|removed node",
                           "backtrack|graph state successfully restored",
                           "|lvl_1: applying choice from 'wire'.",
                       }));
    EXPECT_EQ(zif_graphFindNode(graph, "half-made"), 0u);
    EXPECT_TRUE(wire.undone.empty());  // a failed apply is not undone
}

TEST_F(Build, DeadEndBacktracksAndUndoes)
{
    Script grow{[&](zif_object *b, zif_object *g) {
                    return zif_graphFindNode(g, "made") ? 1 : propose({"needy", "sink"})(b, g);
                },
                [&](zif_object *g, zif_object *choice) {
                    if (std::string(zif_stringGetValue(choice)) == "needy") {
                        addNeedyNode(g, "made");
                        return 1;
                    }
                    return connectNewSink(g, "made");
                }};
    builder("grow", grow);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_EQ(steps(), (std::vector<std::string>{
                           "|add choice from 'grow'.",
                           "|add choice from 'grow'.",
                           "|lvl_1: applying choice from 'grow'.",
                           "build|reached dead end. Backtracking...",
                           "|lvl_1: undoing choice from 'grow'.",
                           "backtrack|restoring graph state",
                           "|removed node",
                           "backtrack|graph state successfully restored",
                           "|lvl_1: applying choice from 'grow'.",
                       }));
    EXPECT_EQ(grow.undone, std::vector<std::string>{"needy"});
    EXPECT_EQ(zif_portGetConnectorCount(out), 1);
}

TEST_F(Build, VisitedStateIsAbandonedForTheNextSibling)
{
    Script toggle{propose({"rename", "connect"}), [&](zif_object *g, zif_object *choice) {
                      if (std::string(zif_stringGetValue(choice)) == "rename")
                          return zif_nodeSetName(src, "renamed");  // the same name again is the same state
                      return connectNewSink(g, "sink");
                  }};
    builder("toggle", toggle);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    std::vector<std::string> s = steps();
    std::vector<std::string> applied;
    for (const std::string &l : s)
        if (l.find("applying") != std::string::npos || l.find("undoing") != std::string::npos)
            applied.push_back(l);
    EXPECT_EQ(applied, (std::vector<std::string>{
                           "|lvl_1: applying choice from 'toggle'.",
                           "|lvl_2: applying choice from 'toggle'.",
                           "|lvl_2: undoing choice from 'toggle'.",
                           "|lvl_2: applying choice from 'toggle'.",
                       }));
    EXPECT_EQ(toggle.undone, std::vector<std::string>{"rename"});
    EXPECT_EQ(std::count(s.begin(), s.end(), "|applying FAILED!"), 0);
    EXPECT_EQ(textOf(zif_nodeGetName(src)), "renamed");
}

TEST_F(Build, MissingApplyFunctionFailsWith26AndTheSearchMovesOn)
{
    Script lazy{propose({"lazy"}), nullptr};
    Script wire{propose({"sink"}), [&](zif_object *g, zif_object *) { return connectNewSink(g, "sink"); }};
    builder("lazy", lazy, 200, false);
    builder("wire", wire);
    zif_clearLastError(ctx);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BUILDER_NO_APPLY);
    std::vector<std::string> s = steps();
    EXPECT_EQ(std::count(s.begin(), s.end(), "|lvl_1: applying choice from 'lazy'."), 0);
    EXPECT_EQ(std::count(s.begin(), s.end(), "|lvl_1: applying choice from 'wire'."), 1);
}

TEST_F(Build, FailingAddChoicesEndsTheBuildWithItsError)
{
    Script broken{[&](zif_object *, zif_object *) {
                      zif_setLastError(ctx, 24);
                      return 0;
                  },
                  nullptr};
    builder("broken", broken);
    EXPECT_EQ(zif_graphBuild(graph), 0);
    EXPECT_EQ(zif_getLastError(ctx), 24);
}

TEST_F(Build, ExhaustionRestoresTheGraphAsItWasBefore)
{
    Script grow{[&](zif_object *b, zif_object *g) {
                    return zif_graphFindNode(g, "junk") ? 1 : propose({"junk"})(b, g);
                },
                [&](zif_object *g, zif_object *) {
                    addNeedyNode(g, "junk");
                    return 1;
                }};
    builder("grow", grow);
    std::string before = dump();
    EXPECT_EQ(zif_graphBuild(graph), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BUILD_FAILED);
    EXPECT_EQ(zif_graphFindNode(graph, "junk"), 0u);
    EXPECT_EQ(dump(), before);
}

TEST_F(Build, EndlessSearchStopsAtTheStepLimit)
{
    int made = 0;
    Script endless{propose({"more"}), [&](zif_object *g, zif_object *) {
                       addNeedyNode(g, ("n" + std::to_string(++made)).c_str());
                       return 1;
                   }};
    builder("endless", endless);
    zif::graphSetSearchStepLimit(graph, 40);
    std::string before = dump();
    EXPECT_EQ(zif_graphBuild(graph), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BUILD_FAILED);
    EXPECT_LE(made, 41);
    EXPECT_EQ(dump(), before);
}

TEST_F(Build, BuildingDuringABuildFailsWith2)
{
    int32_t nested = -1, nestedError = 0;
    Script wire{propose({"sink"}), [&](zif_object *g, zif_object *) {
                    nested = zif_graphBuild(g);
                    nestedError = zif_getLastError(ctx);
                    return connectNewSink(g, "sink");
                }};
    builder("wire", wire);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(nestedError, ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(Build, LaterBuildContinuesBelowTheLastChoice)
{
    Script wire{propose({"sink"}), [&](zif_object *g, zif_object *) { return connectNewSink(g, "sink"); }};
    builder("wire", wire);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    clearLog();
    zif_object *late = node("late");
    zif_object *lateOut = port(late, ZIF_PORT_OUTPUT, "late.out");
    zif_portSetMinConnections(lateOut, 0);
    ASSERT_EQ(zif_graphBuild(graph), 1);
    EXPECT_TRUE(steps().empty());  // nothing proposed, nothing applied
}

TEST(ValueHash, EqualNumbersOfEveryKindHashAlike)
{
    zif_context *ctx = nullptr;
    ASSERT_EQ(zif_create(&ctx), 0);
    zif_object *a = Notation(ctx, "{rate: 1, size: [2, \"x\"]}").parse();
    zif_object *b = Notation(ctx, "{size: [2.0, \"x\"], rate: 1/1}").parse();
    zif_object *c = Notation(ctx, "{rate: 1, size: [2, \"y\"]}").parse();
    ASSERT_EQ(zif_valueEquals(a, b), 1);
    EXPECT_EQ(zif::valueHash(a), zif::valueHash(b));
    EXPECT_NE(zif::valueHash(a), zif::valueHash(c));
    zif_object *one[] = {zif_newInt(ctx, 1), zif_newDouble(ctx, 1.0), zif_newFract(ctx, 1, 0, 1)};
    EXPECT_EQ(zif::valueHash(one[1]), zif::valueHash(one[0]));
    EXPECT_EQ(zif::valueHash(one[2]), zif::valueHash(one[0]));
    for (zif_object *v : one)
        zif_release(v);
    for (zif_object *v : {a, b, c})
        zif_release(v);
    zif_destroy(ctx);
}

// Graphs that differ only in IDs and in the number kinds of equal
// descriptions are the same state.
TEST_F(Build, SnapshotsCompareByContentNotIds)
{
    auto make = [&](const char *rate, bool extraIds) {
        zif_object *g = own(zif_newGraph(ctx, 0));
        if (extraIds)
            zif_newID(ctx), zif_newID(ctx);
        zif_object *n = own(zif_graphAddNewNode(g, "n"));
        zif_object *p = own(zif_nodeAddNewPort(n, ZIF_PORT_OUTPUT, "p"));
        zif_portSetDescription(p, value(std::string("{rate: ") + rate + "}"));
        return zif::graphCurrentSnapshot(zif::graphRecord(g));
    };
    zif_object *x = make("1", false);
    zif_object *y = make("1.0", true);
    zif_object *z = make("2", false);
    EXPECT_EQ(zif::snapshotHash(x), zif::snapshotHash(y));
    EXPECT_TRUE(zif::snapshotsEqual(x, y));
    EXPECT_FALSE(zif::snapshotsEqual(x, z));
}

}  // namespace
