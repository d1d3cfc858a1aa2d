// The "framerateconvert" builder: offers to put a frame rate converter in
// front of an input that takes "yuv.separate" frames, or behind an output
// that delivers them, once per table of the agreed description.
#include "framework/core/container.h"
#include "framework/graph/builtin_plugins.h"
#include "framework/graph/framerate_converter.h"
#include "framework/graph/graph_types.h"

#include <cstring>

namespace zif {

namespace {

bool isConverterPort(zif_object *port)
{
    Node *n = portRecord(port)->node;
    return n && std::strcmp(zif_stringGetValue(n->name), "framerateconvert") == 0;
}

bool proposeFor(zif_object *builder, zif_object *graph, zif_object *port, zif_object *overlap, int32_t connectType)
{
    zif_object *choice = zif_newTable(graph->context);
    bool ok = choice && zif_tableSetInt(choice, "connectporttype", connectType) && zif_tableSet(choice, "overlap", overlap) &&
              zif_tableSetInt(choice, "partnerid", static_cast<int64_t>(zif_portGetID(port))) &&
              zif_graphAddChoice(graph, builder, choice);
    zif_release(choice);
    return ok;
}

// One choice per table of the overlap between template and each port found.
bool proposeAll(zif_object *builder, zif_object *graph, int32_t portType, bool exact)
{
    zif_object *filter = framerateTemplate(graph->context, exact);
    zif_object *ports = filter ? zif_graphNewPortIterator(graph, portType, 0, filter, ZIF_MATCH_PARTIAL) : nullptr;
    bool ok = ports != nullptr;
    // The converter's output feeds an input found, its input takes an output found.
    int32_t connectType = portType == ZIF_PORT_INPUT ? ZIF_PORT_OUTPUT : ZIF_PORT_INPUT;
    while (zif_object *port = ok ? zif_iteratorNext(ports) : nullptr) {
        zif_object *overlap = nullptr;
        zif_object *description = zif_portGetDescription(port);
        // Converters are not chained: one retiming never needs a second.
        if (!isConverterPort(port) && descriptionsMatch(filter, description, &overlap) >= ZIF_MATCH_PARTIAL) {
            if (overlap && overlap->type == ZIF_TYPE_LIST) {
                listForEach(listRecord(overlap), [&](zif_object *t) {
                    if (ok && zif_objectGetType(t) == ZIF_TYPE_TABLE)
                        ok = proposeFor(builder, graph, port, t, connectType);
                });
            } else if (overlap && overlap->type == ZIF_TYPE_TABLE) {
                ok = proposeFor(builder, graph, port, overlap, connectType);
            }
        }
        zif_release(overlap);
        zif_release(description);
        zif_release(port);
    }
    zif_release(ports);
    zif_release(filter);
    return ok;
}

int32_t convertAddChoices(zif_object *builder, zif_object *graph)
{
    return proposeAll(builder, graph, ZIF_PORT_INPUT, false) && proposeAll(builder, graph, ZIF_PORT_OUTPUT, true) ? 1 : 0;
}

int32_t convertApply(zif_object *, zif_object *graph, zif_object *choice)
{
    zif_object *overlap = zif_tableGetTable(choice, "overlap", nullptr);
    zif_object *node = framerateConverterCreate(graph, overlap);
    zif_release(overlap);
    if (!node)
        return 0;
    int32_t type = static_cast<int32_t>(zif_tableGetInt(choice, "connectporttype", 0));
    const char *name = type == ZIF_PORT_OUTPUT ? "framerateconvert.out" : "framerateconvert.in";
    uint64_t own = zif_graphFindNodePort(graph, zif_nodeGetID(node), name);
    zif_release(node);
    auto partner = static_cast<uint64_t>(zif_tableGetInt(choice, "partnerid", 0));
    return own ? zif_graphCreateConnection(graph, own, partner) : 0;
}

uint64_t convertDirectCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = framerateConverterCreate(graph, nullptr);
    uint64_t id = zif_nodeGetID(node);
    zif_release(node);
    return id;
}

}  // namespace

const BuiltinPlugin kFramerateConvertPlugin = {"framerateconvert", "framerateconvert", 50.0, convertAddChoices,
                                               convertApply, nullptr, convertDirectCreate};

}  // namespace zif
