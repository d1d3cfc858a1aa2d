// Port iterators: the graph's open ports filtered by direction, room left
// and how well their description matches a template.
#include "framework/core/iterator.h"
#include "framework/core/value.h"
#include "framework/graph/graph_types.h"

#include <new>

namespace zif {

namespace {

struct PortIteratorState {
    zif_object *graph;            // held, so the graph outlives the iterator
    std::vector<zif_object *> ports;  // every port at creation, held
    size_t next = 0;
    int32_t type;
    int32_t connection;
    zif_object *filter;
    int32_t level;
};

bool passes(PortIteratorState *s, Port *p)
{
    if (!p->attached || p->closed || !p->graph)
        return false;
    if (s->type != -1 && p->type != s->type)
        return false;
    int32_t count = portConnectorCount(p);
    if (s->connection == 0 && !portHasRoom(p))
        return false;
    if (s->connection == 1 && count >= p->minConnections)
        return false;
    if (s->filter) {
        zif_object *overlap = nullptr;
        int32_t grade = descriptionsMatch(s->filter, p->description, &overlap);
        zif_release(overlap);
        if (grade < s->level)
            return false;
    }
    return true;
}

zif_object *portIteratorNext(void *state)
{
    auto *s = static_cast<PortIteratorState *>(state);
    while (s->next < s->ports.size()) {
        zif_object *port = s->ports[s->next++];
        if (passes(s, portRecord(port)))
            return zif_addRef(port);
    }
    return nullptr;
}

void portIteratorRelease(zif_context *, void *state)
{
    auto *s = static_cast<PortIteratorState *>(state);
    for (zif_object *port : s->ports)
        zif_release(port);
    zif_release(s->graph);
    delete s;
}

}  // namespace

}  // namespace zif

using namespace zif;

extern "C" zif_object *zif_graphNewPortIterator(zif_object *graph, int32_t type, int32_t connection,
                                                zif_object *filter, int32_t level)
{
    Graph *g = graphOf(graph);
    if (!g)
        return nullptr;
    auto inRange = [](int32_t v) { return v >= -1 && v <= 1; };
    if (!inRange(type) || !inRange(connection) || (filter && (level < 1 || level > 3)) ||
        (filter && !zif_objectIsValue(filter))) {
        fail(graph->context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    auto *state = new (std::nothrow) PortIteratorState{graph, {}, 0, type, connection, filter, level};
    if (!state) {
        fail(graph->context, ZIF_ERR_NO_MEMORY);
        return nullptr;
    }
    zif_addRef(graph);
    graphForEachPort(g, [&](Node *, Port *p) { state->ports.push_back(zif_addRef(asObject(p))); });
    // The filter stays locked for good: its holder may not change it while
    // iterators compare against it.
    if (filter)
        valueLock(filter);
    return iteratorNew(graph->context, portIteratorNext, state, portIteratorRelease);
}
