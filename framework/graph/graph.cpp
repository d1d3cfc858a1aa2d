// Graphs: creation with their builders, teardown, the node chain, lookups
// and the graph log.
#include "framework/core/log.h"
#include "framework/graph/graph_types.h"
#include "framework/graph/plugin.h"

#include <cinttypes>
#include <cstdio>
#include <new>
#include <string>

namespace zif {

namespace {

// Ends every connection (disconnect functions run while both sides are
// still whole), then cuts the nodes' and ports' links to the graph, so a
// node, port or connector that a client still holds never points at it.
void graphDetachEverything(Graph *graph)
{
    for (Node *n = graph->nodes; n; n = n->next)
        for (Port *p = n->ports; p; p = p->next)
            portDisconnectAll(graph, p);
    for (Node *n = graph->nodes; n; n = n->next) {
        n->graph = nullptr;
        for (Port *p = n->ports; p; p = p->next)
            p->graph = nullptr;
    }
}

void graphDestroy(zif_object *object)
{
    Graph *graph = graphRecord(object);
    // Callbacks run during teardown may take and drop references.
    object->refCount = 1;
    graphDetachEverything(graph);
    while (Node *n = graph->nodes) {
        graph->nodes = n->next;
        n->next = nullptr;
        n->attached = false;
        zif_release(asObject(n));
    }
    for (GraphBuilder *b : graph->builders) {
        b->graph = nullptr;
        zif_release(asObject(b));
    }
    graph->builders.clear();
    zif_release(graph->log);
    zif_release(graph->cachedSnapshot);
    graphSearchRelease(graph);
    zif_release(graph->remoteFile);
    graph->builders.~vector();
    graph->visited.~vector();
    object->refCount = 0;
}

template <typename T>
T *recordOf(zif_object *object, int32_t type)
{
    if (!object) {
        return nullptr;
    }
    return reinterpret_cast<T *>(cast(object, type));
}

}  // namespace

Graph *graphOf(zif_object *object) { return recordOf<Graph>(object, ZIF_TYPE_GRAPH); }
Node *nodeOf(zif_object *object) { return recordOf<Node>(object, ZIF_TYPE_NODE); }
Port *portOf(zif_object *object) { return recordOf<Port>(object, ZIF_TYPE_PORT); }
Connector *connectorOf(zif_object *object) { return recordOf<Connector>(object, ZIF_TYPE_CONNECTOR); }
GraphBuilder *builderOf(zif_object *object) { return recordOf<GraphBuilder>(object, ZIF_TYPE_GRAPH_BUILDER); }

void graphChanged(Graph *graph)
{
    ++graph->changeCounter;
    zif_release(graph->cachedSnapshot);
    graph->cachedSnapshot = nullptr;
}

Node *graphFindNode(Graph *graph, uint64_t id)
{
    for (Node *n = graph->nodes; n; n = n->next)
        if (n->id == id)
            return n;
    return nullptr;
}

Port *graphFindPort(Graph *graph, uint64_t id)
{
    for (Node *n = graph->nodes; n; n = n->next)
        for (Port *p = n->ports; p; p = p->next)
            if (p->id == id)
                return p;
    return nullptr;
}

void graphSetSearchStepLimit(zif_object *graph, int64_t limit)
{
    if (Graph *g = graphOf(graph))
        g->searchStepLimit = limit;
}

void graphMakeSlave(zif_object *graph, const GraphRemote &remote, zif_object *file)
{
    Graph *g = graphOf(graph);
    if (!g)
        return;
    g->isSlave = true;
    g->remote = remote;
    zif_release(g->remoteFile);
    g->remoteFile = zif_addRef(file);
}

}  // namespace zif

using namespace zif;

extern "C" {

zif_object *zif_newGraph(zif_context *context, int32_t withBuilders)
{
    if (!context)
        return nullptr;
    auto *graph = objectNew<Graph>(context, ZIF_TYPE_GRAPH, graphDestroy);
    if (!graph)
        return nullptr;
    new (&graph->builders) std::vector<GraphBuilder *>();
    new (&graph->visited) std::vector<zif_object *>();
    graph->identity = zif_newID(context);
    graph->changeCounter = 1;
    graph->searchStepLimit = kDefaultSearchStepLimit;
    graph->log = zif_newLog(context);
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "graph%" PRIX64 "-", graph->identity);
    if (!graph->log || !logSetParent(graph->log, context->log, prefix)) {
        zif_release(asObject(graph));
        return nullptr;
    }
    if (withBuilders && !pluginsAddBuilders(context, asObject(graph))) {
        zif_release(asObject(graph));
        return nullptr;
    }
    return asObject(graph);
}

zif_object *zif_graphAddNewNode(zif_object *graph, const char *name)
{
    Graph *g = graphOf(graph);
    if (!g)
        return nullptr;
    return asObject(graphAddNode(g, name, 0));
}

uint64_t zif_graphFindNode(zif_object *graph, const char *name)
{
    Graph *g = graphOf(graph);
    if (!g || !name)
        return 0;
    for (Node *n = g->nodes; n; n = n->next)
        if (std::string(zif_stringGetValue(n->name)) == name)
            return n->id;
    return 0;
}

uint64_t zif_graphFindNodePort(zif_object *graph, uint64_t nodeId, const char *portName)
{
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    Node *n = graphFindNode(g, nodeId);
    if (n && portName)
        for (Port *p = n->ports; p; p = p->next)
            if (std::string(zif_stringGetValue(p->name)) == portName)
                return p->id;
    fail(graph->context, ZIF_ERR_NOT_FOUND);
    return 0;
}

zif_object *zif_graphGetNodeDebugText(zif_object *graph, uint64_t nodeId)
{
    Graph *g = graphOf(graph);
    Node *n = g ? graphFindNode(g, nodeId) : nullptr;
    return n ? zif_addRef(n->debugText) : nullptr;
}

zif_object *zif_graphGetLog(zif_object *graph)
{
    Graph *g = graphOf(graph);
    return g ? zif_addRef(g->log) : nullptr;
}

int32_t zif_graphLog(zif_object *graph, int32_t level, const char *source, const char *message)
{
    Graph *g = graphOf(graph);
    return g ? zif_logAddEntry(g->log, level, source, message) : 0;
}

int32_t zif_graphLogWithValue(zif_object *graph, int32_t level, const char *source, const char *message,
                              zif_object *value)
{
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    zif_object *text = zif_valueToXMLString(value, 2);
    if (!text)
        return 0;
    std::string line = std::string(message ? message : "") + "\n" + zif_stringGetValue(text) + "\n";
    zif_release(text);
    return zif_logAddEntry(g->log, level, source, line.c_str());
}

}  // extern "C"
