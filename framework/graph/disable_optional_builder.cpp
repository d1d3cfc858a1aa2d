// The "disableOptional" builder: lets the search leave a port that has its
// minimum connections but room for more closed to further connections.
#include "framework/graph/builtin_plugins.h"
#include "framework/graph/graph_types.h"

namespace zif {

namespace {

int32_t disableAddChoices(zif_object *builder, zif_object *graph)
{
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    bool ok = true;
    graphForEachPort(g, [&](Node *, Port *p) {
        if (!ok || !p->attached || p->closed || portConnectorCount(p) < p->minConnections || !portHasRoom(p))
            return;
        zif_object *choice = zif_newInt(graph->context, static_cast<int64_t>(p->id));
        ok = choice && zif_graphAddChoice(graph, builder, choice);
        zif_release(choice);
    });
    return ok ? 1 : 0;
}

bool setClosed(zif_object *graph, zif_object *choice, bool closed)
{
    Graph *g = graphOf(graph);
    Port *p = g ? graphFindPort(g, static_cast<uint64_t>(zif_intGetValue(choice))) : nullptr;
    if (!p) {
        if (g)
            fail(graph->context, ZIF_ERR_NOT_FOUND);
        return false;
    }
    portSetClosed(p, closed);
    return true;
}

int32_t disableApply(zif_object *, zif_object *graph, zif_object *choice) { return setClosed(graph, choice, true); }

int32_t disableUndo(zif_object *, zif_object *graph, zif_object *choice) { return setClosed(graph, choice, false); }

}  // namespace

const BuiltinPlugin kDisableOptionalPlugin = {"disableoptional", "disableOptional", 0.0, disableAddChoices,
                                              disableApply, disableUndo, nullptr};

}  // namespace zif
