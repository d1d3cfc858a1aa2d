#include "plugins/common/plugin_builder.h"

namespace plugins {

int32_t builderAdd(zif_object *graph, const char *name, double priority, zif_graphBuilderAddChoicesFunc addChoices,
                   zif_graphBuilderApplyChoiceFunc applyChoice)
{
    zif_object *builder = zif_graphAddNewBuilder(graph, name);
    bool ok = builder && zif_graphBuilderSetPriority(builder, priority) &&
              zif_graphBuilderSetAddChoicesFunc(builder, addChoices) &&
              zif_graphBuilderSetApplyChoiceFunc(builder, applyChoice);
    zif_release(builder);
    return ok ? 1 : 0;
}

int32_t newNodeConnect(zif_object *graph, zif_object *node, const char *ownPort, uint64_t partner)
{
    uint64_t port = node ? zif_graphFindNodePort(graph, zif_nodeGetID(node), ownPort) : 0;
    zif_release(node);
    return port && partner ? zif_graphCreateConnection(graph, port, partner) : 0;
}

}  // namespace plugins
