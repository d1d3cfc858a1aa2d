// The "connect" builder: proposes joining ports whose descriptions agree,
// ports still below their minimum first and full agreement before partial.
#include "framework/graph/builtin_plugins.h"
#include "framework/graph/graph_types.h"

namespace zif {

namespace {

struct Sweep {
    bool required;  // ports below their minimum, else optional ones
    int32_t level;
};

constexpr Sweep kSweeps[] = {{true, ZIF_MATCH_FULL}, {true, ZIF_MATCH_PARTIAL}, {false, ZIF_MATCH_PARTIAL}, {false, ZIF_MATCH_FULL}};

bool proposePair(zif_object *builder, zif_object *graph, Port *a, Port *b)
{
    zif_object *choice = zif_newTable(graph->context);
    bool ok = choice && zif_tableSetInt(choice, "portid1", static_cast<int64_t>(a->id)) &&
              zif_tableSetInt(choice, "portid2", static_cast<int64_t>(b->id)) && zif_graphAddChoice(graph, builder, choice);
    zif_release(choice);
    return ok;
}

int32_t connectAddChoices(zif_object *builder, zif_object *graph)
{
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    std::vector<Port *> required, optional, withRoom;
    graphForEachPort(g, [&](Node *, Port *p) {
        if (!p->attached || p->closed)
            return;
        int32_t count = portConnectorCount(p);
        if (count < p->minConnections)
            required.push_back(p);
        else if (portHasRoom(p))
            optional.push_back(p);
        if (portHasRoom(p))
            withRoom.push_back(p);
    });
    for (const Sweep &sweep : kSweeps)
        for (Port *a : sweep.required ? required : optional)
            for (Port *b : withRoom)
                if (portCompatibility(b, a) == sweep.level && !proposePair(builder, graph, a, b))
                    return 0;
    return 1;
}

int32_t connectApply(zif_object *, zif_object *graph, zif_object *choice)
{
    auto id = [&](const char *name) { return static_cast<uint64_t>(zif_tableGetInt(choice, name, 0)); };
    return zif_graphCreateConnection(graph, id("portid1"), id("portid2"));
}

}  // namespace

const BuiltinPlugin kConnectPlugin = {"connect", "connect", 200.0, connectAddChoices, connectApply, nullptr, nullptr};

}  // namespace zif
