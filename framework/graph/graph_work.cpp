// Work passes: nodes run from the sources downstream, and between a node's
// work and its successors' the samples it queued move on into the partner
// input queues, as far as those have room (back-pressure).
#include "framework/core/container.h"
#include "framework/graph/graph_types.h"

#include <deque>

namespace zif {

namespace {

// The first failure of a pass and the error it left.
struct PassResult {
    bool failed = false;
    int32_t error = 0;

    void note(bool ok, zif_context *context)
    {
        if (ok || failed)
            return;
        failed = true;
        error = zif_getLastError(context);
    }
};

bool isSource(const Node *node)
{
    for (const Port *p = node->ports; p; p = p->next)
        if (p->type == ZIF_PORT_INPUT && !p->connectors.empty())
            return false;
    return true;
}

// The port's own work for ports of the given type, then the work of every
// connected connector of every port; the first failure ends the pass.
bool runPorts(Node *node, int32_t type)
{
    for (Port *p = node->ports; p; p = p->next) {
        if (p->type == type && p->attached && p->work && !p->work(asObject(p)))
            return false;
        // A connector's work may end other connections of the port; the
        // walk holds every connector it has yet to visit.
        std::vector<zif_object *> connectors;
        for (Connector *c : p->connectors)
            connectors.push_back(zif_addRef(asObject(c)));
        bool ok = true;
        for (zif_object *object : connectors) {
            Connector *c = reinterpret_cast<Connector *>(object);
            if (ok && p->attached && c->connected && c->work && !c->work(object))
                ok = false;
        }
        for (zif_object *object : connectors)
            zif_release(object);
        if (!ok)
            return false;
    }
    return true;
}

// Moves what fits from one output connector's queue into its partner's.
void transfer(Connector *c)
{
    zif_object *from = c->queue;
    zif_object *to = c->partner->queue;
    int32_t max = zif_listGetMaxEntryCount(to);
    int32_t room = max == -1 ? zif_listGetEntryCount(from) : max - zif_listGetEntryCount(to);
    for (; room > 0 && zif_listGetEntryCount(from) > 0; --room) {
        zif_object *sample = zif_listRemoveFirst(from);
        // The consumer sees the sample read-only until it makes it modifiable.
        valueLock(sample);
        zif_listAdd(to, sample);
        zif_release(sample);
    }
}

bool runPass(Graph *graph)
{
    zif_context *context = graph->header.context;
    std::deque<Node *> work;
    for (Node *n = graph->nodes; n; n = n->next) {
        n->visited = false;
        if (isSource(n))
            work.push_back(n);
    }
    // Work functions may remove nodes; the pass keeps what it walks alive.
    std::vector<zif_object *> held;
    for (Node *n : work)
        held.push_back(zif_addRef(asObject(n)));
    PassResult result;
    for (size_t i = 0; i < work.size(); ++i) {
        Node *n = work[i];
        if (n->attached && n->work)
            result.note(n->work(asObject(n)) != 0, context);
        n->visited = true;
        if (n->attached) {
            result.note(runPorts(n, ZIF_PORT_INPUT), context);
            result.note(runPorts(n, ZIF_PORT_OUTPUT), context);
        }
        for (Port *p = n->ports; p; p = p->next) {
            if (!p->attached || p->type != ZIF_PORT_OUTPUT)
                continue;
            for (Connector *c : p->connectors) {
                if (!c->connected || !c->partner || !c->partner->port || !c->partner->port->attached)
                    continue;
                transfer(c);
                Node *next = c->partner->port->node;
                if (next && next->attached && !next->visited) {
                    work.push_back(next);
                    held.push_back(zif_addRef(asObject(next)));
                }
            }
        }
    }
    for (zif_object *o : held)
        zif_release(o);
    if (result.failed)
        fail(context, result.error);
    return !result.failed;
}

}  // namespace

}  // namespace zif

using namespace zif;

extern "C" {

int32_t zif_graphWork(zif_object *graph)
{
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    if (g->working || g->building) {
        fail(graph->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    zif_addRef(graph);
    g->working = true;
    bool ok = runPass(g);
    g->working = false;
    zif_release(graph);
    return ok ? 1 : 0;
}

int32_t zif_graphGetFinishedForNow(zif_object *graph)
{
    Graph *g = graphOf(graph);
    return g && g->finishedCount == g->nodeCount ? 1 : 0;
}

int32_t zif_nodeSetFinishedForNow(zif_object *node, int32_t flag)
{
    Node *n = nodeOf(node);
    if (!n)
        return 0;
    bool finished = flag != 0;
    if (n->finished == finished)
        return 1;
    Graph *g = n->graph;
    if (g && g->isSlave && g->remote.nodeSetFinishedForNow) {
        if (int32_t status = g->remote.nodeSetFinishedForNow(g->remote.user, n->id, finished)) {
            fail(node->context, status);
            return 0;
        }
    }
    nodeStoreFinished(n, finished);
    return 1;
}

int32_t zif_nodeGetFinishedForNow(zif_object *node)
{
    Node *n = nodeOf(node);
    return n && n->finished ? 1 : 0;
}

int32_t zif_nodeSetWorkFunc(zif_object *node, zif_nodeWorkFunc function)
{
    Node *n = nodeOf(node);
    if (!n)
        return 0;
    n->work = function;
    return 1;
}

zif_nodeWorkFunc zif_nodeGetWorkFunc(zif_object *node)
{
    Node *n = nodeOf(node);
    return n ? n->work : nullptr;
}

int32_t zif_portSetWorkFunc(zif_object *port, zif_portWorkFunc function)
{
    Port *p = portOf(port);
    if (!p)
        return 0;
    p->work = function;
    return 1;
}

zif_portWorkFunc zif_portGetWorkFunc(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->work : nullptr;
}

int32_t zif_portConnectorSetWorkFunc(zif_object *connector, zif_portConnectorWorkFunc function)
{
    Connector *c = connectorOf(connector);
    if (!c)
        return 0;
    c->work = function;
    return 1;
}

zif_portConnectorWorkFunc zif_portConnectorGetWorkFunc(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c ? c->work : nullptr;
}

}  // extern "C"
