// Nodes: creation in a graph, their port chain, names, debug text, user
// data, and their removal when the search backtracks.
#include "framework/graph/graph_types.h"

namespace zif {

namespace {

void nodeDestroy(zif_object *object)
{
    Node *node = nodeRecord(object);
    object->refCount = 1;  // the destroy hook may take and drop references
    if (node->destroy)
        node->destroy(object);
    while (Port *p = node->ports) {
        node->ports = p->next;
        p->next = nullptr;
        p->node = nullptr;
        p->graph = nullptr;
        p->attached = false;
        zif_release(asObject(p));
    }
    zif_release(node->name);
    zif_release(node->debugText);
    object->refCount = 0;
}

// The ID of a new node or port: given, asked of the master on a slave
// graph (whose refusal code is recorded), or drawn from the counter.
template <typename Ask>
bool drawId(Graph *graph, uint64_t given, uint64_t *id, bool canAsk, Ask ask)
{
    if (given) {
        *id = given;
        return true;
    }
    if (graph->isSlave && canAsk) {
        if (int32_t status = ask(id)) {
            fail(graph->header.context, status);
            return false;
        }
        return true;
    }
    *id = zif_newID(graph->header.context);
    return true;
}

}  // namespace

Node *graphAddNode(Graph *graph, const char *name, uint64_t givenId)
{
    zif_context *context = graph->header.context;
    uint64_t id = 0;
    const GraphRemote &remote = graph->remote;
    if (!drawId(graph, givenId, &id, remote.newNodeId != nullptr,
                [&](uint64_t *out) { return remote.newNodeId(remote.user, name ? name : "", out); }))
        return nullptr;
    auto *node = objectNew<Node>(context, ZIF_TYPE_NODE, nodeDestroy);
    if (!node)
        return nullptr;
    node->name = zif_newString(context, name ? name : "");
    if (!node->name) {
        zif_release(asObject(node));
        return nullptr;
    }
    node->id = id;
    node->graph = graph;
    node->attached = true;
    node->next = graph->nodes;
    graph->nodes = node;
    ++graph->nodeCount;
    graphChanged(graph);
    node->stamp = graph->changeCounter;
    return reinterpret_cast<Node *>(zif_addRef(asObject(node)));
}

Port *nodeAddPort(Node *node, int32_t type, const char *name, uint64_t givenId)
{
    zif_context *context = node->header.context;
    if (type != ZIF_PORT_INPUT && type != ZIF_PORT_OUTPUT) {
        fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    Graph *graph = node->graph;
    uint64_t id = givenId;
    if (graph) {
        const GraphRemote &remote = graph->remote;
        if (!drawId(graph, givenId, &id, remote.newPortId != nullptr,
                    [&](uint64_t *out) { return remote.newPortId(remote.user, node->id, type, name ? name : "", out); }))
            return nullptr;
    } else if (!id) {
        id = zif_newID(context);
    }
    Port *port = portNew(context, type, name);
    if (!port)
        return nullptr;
    port->id = id;
    port->graph = graph;
    port->node = node;
    port->attached = node->attached;
    port->next = node->ports;
    node->ports = port;
    // A new port changes what a snapshot of the graph records.
    if (graph) {
        graphChanged(graph);
        port->stamp = graph->changeCounter;
    }
    return reinterpret_cast<Port *>(zif_addRef(asObject(port)));
}

void nodeStoreFinished(Node *node, bool finished)
{
    if (node->finished == finished)
        return;
    node->finished = finished;
    if (Graph *g = node->graph) {
        g->finishedCount += finished ? 1 : -1;
        graphChanged(g);
    }
}

void graphRemoveNode(Graph *graph, Node *node)
{
    zif_object *keep = zif_addRef(asObject(node));
    for (Port *p = node->ports; p; p = p->next) {
        portDisconnectAll(graph, p);
        p->attached = false;
    }
    for (Node **link = &graph->nodes; *link; link = &(*link)->next) {
        if (*link == node) {
            *link = node->next;
            break;
        }
    }
    node->next = nullptr;
    node->attached = false;
    --graph->nodeCount;
    if (node->finished)
        --graph->finishedCount;
    graphChanged(graph);
    zif_graphLogWithValue(asObject(graph), ZIF_LOG_INFO, "", "removed node", node->name);
    node->graph = nullptr;
    for (Port *p = node->ports; p; p = p->next)
        p->graph = nullptr;
    zif_release(asObject(node));  // the graph's reference
    zif_release(keep);
}

void nodeRemovePort(Graph *graph, Node *node, Port *port)
{
    zif_object *keep = zif_addRef(asObject(port));
    portDisconnectAll(graph, port);
    for (Port **link = &node->ports; *link; link = &(*link)->next) {
        if (*link == port) {
            *link = port->next;
            break;
        }
    }
    port->next = nullptr;
    port->attached = false;
    graphChanged(graph);
    zif_graphLogWithValue(asObject(graph), ZIF_LOG_INFO, zif_stringGetValue(node->name), "removed port", port->name);
    port->node = nullptr;
    port->graph = nullptr;
    zif_release(asObject(port));  // the node's reference
    zif_release(keep);
}

}  // namespace zif

using namespace zif;

extern "C" {

uint64_t zif_nodeGetID(zif_object *node)
{
    Node *n = nodeOf(node);
    return n ? n->id : 0;
}

zif_object *zif_nodeGetGraph(zif_object *node)
{
    Node *n = nodeOf(node);
    return n && n->graph ? zif_addRef(asObject(n->graph)) : nullptr;
}

zif_object *zif_nodeGetName(zif_object *node)
{
    Node *n = nodeOf(node);
    return n ? zif_addRef(n->name) : nullptr;
}

int32_t zif_nodeSetName(zif_object *node, const char *name)
{
    Node *n = nodeOf(node);
    if (!n)
        return 0;
    zif_object *value = zif_newString(node->context, name ? name : "");
    if (!value)
        return 0;
    zif_release(n->name);
    n->name = value;
    if (n->graph)
        graphChanged(n->graph);
    return 1;
}

zif_object *zif_nodeGetDebugText(zif_object *node)
{
    Node *n = nodeOf(node);
    return n ? zif_addRef(n->debugText) : nullptr;
}

int32_t zif_nodeSetDebugText(zif_object *node, const char *text)
{
    Node *n = nodeOf(node);
    if (!n)
        return 0;
    Graph *g = n->graph;
    if (g && g->isSlave && g->remote.nodeSetDebugText) {
        if (int32_t status = g->remote.nodeSetDebugText(g->remote.user, n->id, text)) {
            fail(node->context, status);
            return 0;
        }
    }
    zif_object *value = nullptr;
    if (text && !(value = zif_newString(node->context, text)))
        return 0;
    zif_release(n->debugText);
    n->debugText = value;
    return 1;
}

intptr_t zif_nodeGetUserData(zif_object *node)
{
    Node *n = nodeOf(node);
    return n ? n->userData : 0;
}

int32_t zif_nodeSetUserData(zif_object *node, intptr_t data)
{
    Node *n = nodeOf(node);
    if (!n)
        return 0;
    n->userData = data;
    return 1;
}

zif_nodeDestroyFunc zif_nodeGetDestroyFunc(zif_object *node)
{
    Node *n = nodeOf(node);
    return n ? n->destroy : nullptr;
}

int32_t zif_nodeSetDestroyFunc(zif_object *node, zif_nodeDestroyFunc function)
{
    Node *n = nodeOf(node);
    if (!n)
        return 0;
    n->destroy = function;
    return 1;
}

zif_object *zif_nodeAddNewPort(zif_object *node, int32_t type, const char *name)
{
    Node *n = nodeOf(node);
    if (!n)
        return nullptr;
    return asObject(nodeAddPort(n, type, name, 0));
}

}  // extern "C"
