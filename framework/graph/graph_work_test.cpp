// Work passes: order from the sources, sample transfer with back-pressure
// and locking, failures that do not stop a pass, finished-for-now.
#include "framework/graph/graph_types.h"
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A test node: its work runs a lambda; its ports keep their queues.
struct Probe {
    std::function<int32_t(Probe &)> work;
    int runs = 0;
    int32_t inputMax = -1;
    zif_object *in = nullptr;   // queue of the last connected input
    zif_object *out = nullptr;  // queue of the output
    std::vector<int64_t> seen;

    ~Probe()
    {
        zif_release(in);
        zif_release(out);
    }

    // Takes every queued input sample and notes its "n".
    void consume()
    {
        while (zif_object *s = in ? zif_listRemoveFirst(in) : nullptr) {
            seen.push_back(zif_tableGetInt(s, "n", -1));
            zif_release(s);
        }
    }

    void produce(zif_context *ctx, int64_t n)
    {
        zif_object *s = zif_newTable(ctx);
        zif_tableSetInt(s, "n", n);
        zif_listAdd(out, s);
        zif_release(s);
    }
};

Probe *probeOf(zif_object *object, bool isPort)
{
    zif_object *node = isPort ? zif_portGetNode(object) : zif_addRef(object);
    auto *p = reinterpret_cast<Probe *>(zif_nodeGetUserData(node));
    zif_release(node);
    return p;
}

int32_t probeWork(zif_object *node)
{
    Probe *p = probeOf(node, false);
    ++p->runs;
    return p->work ? p->work(*p) : 1;
}

int32_t probeConnect(zif_object *port, zif_object *connector)
{
    Probe *p = probeOf(port, true);
    zif_object *&slot = zif_portGetType(port) == ZIF_PORT_INPUT ? p->in : p->out;
    zif_release(slot);
    slot = zif_portConnectorGetQueue(connector);
    if (zif_portGetType(port) == ZIF_PORT_INPUT)
        zif_listSetMaxEntryCount(slot, p->inputMax);
    return 1;
}

class Work : public GraphTest {
protected:
    zif_object *probeNode(const char *name, Probe &probe)
    {
        zif_object *n = node(name);
        zif_nodeSetUserData(n, reinterpret_cast<intptr_t>(&probe));
        zif_nodeSetWorkFunc(n, probeWork);
        return n;
    }

    zif_object *probePort(zif_object *n, int32_t type)
    {
        zif_object *p = port(n, type, type == ZIF_PORT_INPUT ? "in" : "out");
        zif_portSetOnConnectFunc(p, probeConnect);
        zif_portSetMaxConnections(p, -1);
        return p;
    }

    void link(zif_object *from, zif_object *to)
    {
        ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(probePort(from, ZIF_PORT_OUTPUT)),
                                            zif_portGetID(probePort(to, ZIF_PORT_INPUT))),
                  1);
    }

    std::vector<std::string> order;
};

TEST_F(Work, SourceRunsThenItsSamplesMoveThenTheConsumerRunsOnce)
{
    Probe a, b;
    a.work = [&](Probe &p) {
        order.push_back("a");
        for (int n = 0; n < 3; ++n)
            p.produce(ctx, n);
        return 1;
    };
    b.work = [&](Probe &p) {
        order.push_back("b:" + std::to_string(zif_listGetEntryCount(p.in)));
        p.consume();
        return 1;
    };
    link(probeNode("a", a), probeNode("b", b));
    ASSERT_EQ(zif_graphWork(graph), 1);
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b:3"}));
    EXPECT_EQ(b.seen, (std::vector<int64_t>{0, 1, 2}));
}

TEST_F(Work, FullInputQueueHoldsSamplesBackUntilTheConsumerTakesOne)
{
    Probe a, b;
    b.inputMax = 1;
    a.work = [&](Probe &p) {
        if (a.runs == 1)
            for (int n = 0; n < 3; ++n)
                p.produce(ctx, n);
        return 1;
    };
    b.work = [&](Probe &p) {
        if (zif_object *s = zif_listRemoveFirst(p.in)) {
            p.seen.push_back(zif_tableGetInt(s, "n", -1));
            zif_release(s);
        }
        return 1;
    };
    link(probeNode("a", a), probeNode("b", b));
    ASSERT_EQ(zif_graphWork(graph), 1);
    EXPECT_EQ(zif_listGetEntryCount(a.out), 2);
    EXPECT_EQ(b.seen, std::vector<int64_t>{0});
    ASSERT_EQ(zif_graphWork(graph), 1);
    EXPECT_EQ(zif_listGetEntryCount(a.out), 1);
    EXPECT_EQ(b.seen, (std::vector<int64_t>{0, 1}));
}

TEST_F(Work, NodeFedByTwoSourcesRunsTwice)
{
    Probe a, b, sink;
    a.work = b.work = [&](Probe &p) {
        p.produce(ctx, 1);
        return 1;
    };
    zif_object *s = probeNode("sink", sink);
    link(probeNode("a", a), s);
    link(probeNode("b", b), s);
    ASSERT_EQ(zif_graphWork(graph), 1);
    EXPECT_EQ(sink.runs, 2);
}

TEST_F(Work, FailureKeepsTheFirstErrorAndThePassGoesOn)
{
    Probe a, b;
    a.work = [&](Probe &p) {
        p.produce(ctx, 7);
        zif_setLastError(ctx, ZIF_ERR_READ);
        return 0;
    };
    b.work = [&](Probe &p) {
        p.consume();
        zif_setLastError(ctx, ZIF_ERR_WRITE);
        return 0;
    };
    link(probeNode("a", a), probeNode("b", b));
    EXPECT_EQ(zif_graphWork(graph), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_READ);
    EXPECT_EQ(b.seen, std::vector<int64_t>{7});
}

TEST_F(Work, MovedSamplesAreLockedForTheConsumer)
{
    Probe a, b;
    int32_t setResult = -1, setError = 0, afterCopy = -1;
    a.work = [&](Probe &p) {
        zif_object *s = zif_newTable(ctx);
        zif_object *inner = zif_newTable(ctx);
        zif_tableSetTable(s, "inner", inner);
        zif_listAdd(p.out, s);
        zif_release(inner);
        zif_release(s);
        return 1;
    };
    b.work = [&](Probe &p) {
        zif_object *s = zif_listRemoveFirst(p.in);
        zif_clearLastError(ctx);
        setResult = zif_tableSetInt(s, "n", 1);
        setError = zif_getLastError(ctx);
        zif_object *inner = zif_tableGetTable(s, "inner", nullptr);
        EXPECT_EQ(zif_valueIsLocked(inner), 1);
        zif_release(inner);
        zif_valueMakeModifiable(&s);
        afterCopy = zif_tableSetInt(s, "n", 1);
        zif_release(s);
        return 1;
    };
    link(probeNode("a", a), probeNode("b", b));
    ASSERT_EQ(zif_graphWork(graph), 1);
    EXPECT_EQ(setResult, 0);
    EXPECT_EQ(setError, ZIF_ERR_LOCKED);
    EXPECT_EQ(afterCopy, 1);
}

TEST_F(Work, OutputPortWorkRunsAfterTheNodeWork)
{
    Probe a, b;
    zif_object *an = probeNode("a", a);
    zif_object *out = probePort(an, ZIF_PORT_OUTPUT);
    zif_object *in = probePort(probeNode("b", b), ZIF_PORT_INPUT);
    struct Count {
        static int32_t port(zif_object *p)
        {
            ++probeOf(p, true)->runs;
            return 1;
        }
    };
    zif_portSetWorkFunc(out, Count::port);
    ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(out), zif_portGetID(in)), 1);
    ASSERT_EQ(zif_graphWork(graph), 1);
    EXPECT_EQ(a.runs, 2);  // its node work, then its output port's work
}

// Ends the second connection of its port from the first connector's work.
struct Ender {
    static inline zif_object *graph = nullptr;
    static inline std::vector<zif_object *> connectors;  // borrowed
    static inline int runs = 0;
    static inline bool ended = false;

    static int32_t onConnect(zif_object *, zif_object *connector)
    {
        connectors.push_back(connector);
        return zif_portConnectorSetWorkFunc(connector, work);
    }

    static int32_t work(zif_object *connector)
    {
        ++runs;
        if (connector != connectors.front() || ended)
            return 1;
        ended = true;
        return zif_graphDestroyConnection(graph, connectors.back(), 0);
    }
};

// A connector's work may end another connection of the same port; the pass
// then skips that connector instead of reading it after it is gone.
TEST_F(Work, ConnectorWorkThatEndsASiblingConnection)
{
    Ender::graph = graph;
    Probe b, c;
    zif_object *out = port(node("a"), ZIF_PORT_OUTPUT, "a.out");
    zif_portSetMaxConnections(out, -1);
    zif_portSetOnConnectFunc(out, Ender::onConnect);
    for (Probe *consumer : {&b, &c})
        ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(out),
                                            zif_portGetID(probePort(probeNode("consumer", *consumer), ZIF_PORT_INPUT))),
                  1);
    ASSERT_EQ(Ender::connectors.size(), 2u);

    EXPECT_EQ(zif_graphWork(graph), 1);
    EXPECT_TRUE(Ender::ended);
    EXPECT_EQ(Ender::runs, 2);  // the first connector in both port passes; the ended one never
    EXPECT_EQ(zif_portGetConnectorCount(out), 1);
}

TEST_F(Work, FinishedForNowCountsOnce)
{
    EXPECT_EQ(zif_graphGetFinishedForNow(graph), 1);
    EXPECT_EQ(zif_graphWork(graph), 1);
    zif_object *n = node("n");
    EXPECT_EQ(zif_graphGetFinishedForNow(graph), 0);
    ASSERT_EQ(zif_nodeSetFinishedForNow(n, 5), 1);
    EXPECT_EQ(zif_nodeGetFinishedForNow(n), 1);
    uint64_t counter = zif::graphRecord(graph)->changeCounter;
    ASSERT_EQ(zif_nodeSetFinishedForNow(n, 1), 1);
    EXPECT_EQ(zif::graphRecord(graph)->changeCounter, counter);
    EXPECT_EQ(zif_graphGetFinishedForNow(graph), 1);
}

TEST_F(Work, WorkingDuringAPassFailsWith2)
{
    Probe a;
    int32_t nested = -1, nestedError = 0;
    a.work = [&](Probe &) {
        nested = zif_graphWork(graph);
        nestedError = zif_getLastError(ctx);
        return 1;
    };
    probeNode("a", a);
    ASSERT_EQ(zif_graphWork(graph), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(nestedError, ZIF_ERR_INVALID_ARGUMENT);
}

}  // namespace
