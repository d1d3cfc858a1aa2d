// Creating a node boxed: the plug-in's module is loaded in a fresh slave
// process, which creates the node there; the master graph gets its proxies.
#include "framework/core/wire.h"
#include "framework/graph/box_protocol.h"
#include "framework/graph/plugin.h"

using namespace zif;

extern "C" uint64_t zif_graphDirectCreateNodeInBox(zif_object *graph, const char *pluginName,
                                                   zif_object *description)
{
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    zif_context *context = graph->context;
    zif_object *plugin = zif_findPluginWithName(context, pluginName);
    if (!plugin)
        return 0;
    zif_object *modulePath = zif_pluginGetModulePath(plugin);
    zif_release(plugin);
    if (!modulePath) {
        fail(context, ZIF_ERR_NO_DIRECT_CREATE);  // built-in plug-ins cannot leave the process
        return 0;
    }
    zif_object *pipe = boxStartSlave(g);
    BoxChannel *channel = pipe ? boxChannelNew(pipe) : nullptr;
    if (!channel) {
        zif_release(modulePath);
        return 0;
    }
    uint64_t id = 0;
    bool ok = wireWriteInt32(pipe, kCommandLoadModule) && wireWriteString(pipe, zif_stringGetValue(modulePath)) &&
              boxAwaitReply(channel, g) && wireWriteInt32(pipe, kCommandCreateNode) &&
              wireWriteString(pipe, pluginName) && wireWriteInt32(pipe, description ? 1 : 0) &&
              (!description || wireWriteValue(pipe, description)) && boxAwaitReply(channel, g) &&
              wireReadId(pipe, &id);
    zif_release(modulePath);
    // The proxies made meanwhile hold the channel; without any, the slave ends now.
    int32_t error = zif_getLastError(context);
    boxChannelRelease(channel);
    if (!ok) {
        fail(context, error);
        return 0;
    }
    return id;
}
