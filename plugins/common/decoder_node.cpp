#include "plugins/common/decoder_node.h"

#include "plugins/common/decode_request.h"

namespace plugins {

zif_object *decoderNodeAdd(zif_object *graph, const std::string &name, zif_nodeDestroyFunc destroy,
                           zif_nodeWorkFunc work, zif_portOnConnectFunc onCommand)
{
    zif_object *command = commandPortDescription(zif_objectGetContext(graph));
    zif_object *node = command ? zif_graphAddNewNode(graph, name.c_str()) : nullptr;
    zif_object *in = nullptr;
    if (node) {
        zif_nodeSetName(node, name.c_str());
        zif_nodeSetDestroyFunc(node, destroy);
        zif_nodeSetWorkFunc(node, work);
        in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, (name + ".commandin").c_str());
    }
    bool ok = in && zif_portSetDescription(in, command) && zif_portSetMinConnections(in, 1) &&
              zif_portSetMaxConnections(in, 1) && zif_portSetRequestConnectFunc(in, commandPortAcceptsPartner) &&
              zif_portSetOnConnectFunc(in, onCommand);
    zif_release(in);
    zif_release(command);
    if (!ok) {
        zif_release(node);
        return nullptr;
    }
    return node;
}

bool decoderOutputAdd(zif_object *node, const std::string &name, zif_object *description, intptr_t stream,
                      zif_portOnConnectFunc onConnect)
{
    zif_object *port = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, name.c_str());
    bool ok = port && zif_portSetDescription(port, description) && zif_portSetMinConnections(port, 0) &&
              zif_portSetUserData(port, stream) && zif_portSetOnConnectFunc(port, onConnect);
    zif_release(port);
    return ok;
}

}  // namespace plugins
