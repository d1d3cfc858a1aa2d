// Static command ports served by file nodes.
#include "framework/graph/file_command.h"

#include <cstring>

namespace zif {

zif_object *fileCommandTemplate(zif_context *context, const char *command)
{
    zif_object *t = zif_newTable(context);
    if (t && (!zif_tableSetString(t, "portclass", "staticcommand") || !zif_tableSetString(t, "command", command))) {
        zif_release(t);
        return nullptr;
    }
    return t;
}

int32_t fileCommandAddChoices(zif_object *builder, zif_object *graph, const char *command)
{
    zif_object *filter = fileCommandTemplate(graph->context, command);
    zif_object *ports = filter ? zif_graphNewPortIterator(graph, ZIF_PORT_OUTPUT, 0, filter, ZIF_MATCH_PARTIAL) : nullptr;
    bool ok = ports != nullptr;
    while (zif_object *port = ok ? zif_iteratorNext(ports) : nullptr) {
        zif_object *choice = zif_newTable(graph->context);
        ok = choice && zif_tableSetInt(choice, "commandpartner", static_cast<int64_t>(zif_portGetID(port))) &&
             zif_graphAddChoice(graph, builder, choice);
        zif_release(choice);
        zif_release(port);
    }
    zif_release(ports);
    zif_release(filter);
    return ok ? 1 : 0;
}

int32_t fileCommandApply(zif_object *graph, zif_object *choice, FileNodeCreate create)
{
    zif_object *port = create(graph);
    if (!port)
        return 0;
    auto partner = static_cast<uint64_t>(zif_tableGetInt(choice, "commandpartner", 0));
    int32_t ok = zif_graphCreateConnection(graph, zif_portGetID(port), partner);
    zif_release(port);
    return ok;
}

int32_t fileCommandRequestConnect(zif_object *port, zif_object *partnerDescription)
{
    const char *uri = zif_tableGetString(partnerDescription, "uri", nullptr);
    if (!uri)
        return 0;
    zif_object *parts = zif_parseURI(zif_objectGetContext(port), uri);
    if (!parts)
        return 0;
    const char *scheme = zif_tableGetString(parts, "uri.scheme", nullptr);
    bool local = !scheme || std::strcmp(scheme, "file") == 0;
    zif_release(parts);
    return local ? 1 : 0;
}

zif_object *fileCommandPath(zif_object *port, zif_object *connector)
{
    zif_context *context = zif_objectGetContext(port);
    zif_object *partner = zif_portConnectorGetPartnerDescription(connector);
    const char *uri = zif_tableGetString(partner, "uri", nullptr);
    zif_object *path = nullptr;
    if (!uri) {
        zif_setLastError(context, ZIF_ERR_MISSING_ENTRY);
    } else if (!(path = zif_uriToFilePath(context, uri))) {
        zif_setLastError(context, ZIF_ERR_FILE_OPEN);
    }
    zif_release(partner);
    return path;
}

zif_object *fileNodeCreate(zif_object *graph, const FileNodeKind &kind)
{
    zif_object *node = zif_graphAddNewNode(graph, kind.kind);
    if (!node)
        return nullptr;
    zif_nodeSetUserData(node, kind.newState());
    zif_nodeSetDestroyFunc(node, kind.destroy);
    zif_nodeSetWorkFunc(node, kind.work);
    zif_object *port = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, kind.commandPort);
    zif_object *description = fileCommandTemplate(zif_objectGetContext(graph), kind.command);
    bool ok = port && description && zif_portSetDescription(port, description) &&
              zif_portSetRequestConnectFunc(port, fileCommandRequestConnect) &&
              zif_portSetOnConnectFunc(port, kind.commandConnect);
    zif_release(description);
    zif_release(node);
    if (!ok) {
        zif_release(port);
        return nullptr;
    }
    return port;
}

}  // namespace zif
