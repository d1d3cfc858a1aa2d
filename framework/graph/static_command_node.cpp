// Static command nodes: a finished node whose single output port describes
// what the application wants ("read" this file, "write" that one); builders
// match and serve the port.
#include "framework/core/container.h"
#include "framework/graph/graph_types.h"

extern "C" int32_t zif_graphAddNewStaticCommandNode(zif_object *graph, const char *command, zif_object *entries,
                                                    const char *name, zif_object **out)
{
    using namespace zif;
    if (out)
        *out = nullptr;
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    if (!command || !name) {
        fail(graph->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    if (entries && !cast(entries, ZIF_TYPE_TABLE))
        return 0;
    zif_object *description = zif_newTable(graph->context);
    bool ok = description && zif_tableSetString(description, "command", command) &&
              zif_tableSetString(description, "portclass", "staticcommand");
    if (ok && entries)
        tableForEach(tableRecord(entries), [&](int32_t key, zif_object *value) {
            ok = ok && zif_tableSetK(description, key, value);
        });
    zif_object *node = ok ? zif_graphAddNewNode(graph, name) : nullptr;
    zif_object *port = node ? zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, name) : nullptr;
    ok = port && zif_nodeSetFinishedForNow(node, 1) && zif_portSetDescription(port, description);
    zif_release(port);
    zif_release(description);
    if (ok && out)
        *out = zif_addRef(node);
    zif_release(node);
    return ok ? 1 : 0;
}
