// Ports: names, connection limits, descriptions with their IDs and block
// lists, the connection hooks, user data.
#include "framework/core/value.h"
#include "framework/graph/graph_types.h"

#include <algorithm>
#include <new>

namespace zif {

namespace {

void portDestroy(zif_object *object)
{
    Port *port = portRecord(object);
    object->refCount = 1;  // the destroy hook may take and drop references
    if (port->destroy)
        port->destroy(object);
    if (port->description) {
        zif_valueUnlock(port->description);
        zif_release(port->description);
    }
    zif_release(port->name);
    for (Connector *c : port->connectors) {
        c->port = nullptr;
        c->connected = false;
        zif_release(asObject(c));
    }
    port->connectors.~vector();
    port->blockList.~vector();
    object->refCount = 0;
}

// A setter's forwarding to the master of a slave graph: true to go on.
template <typename Forward>
bool forwardToMaster(Port *port, bool hasForward, Forward forward)
{
    Graph *g = port->graph;
    if (!g || !g->isSlave || !hasForward)
        return true;
    if (int32_t status = forward(g->remote)) {
        fail(port->header.context, status);
        return false;
    }
    return true;
}

void changed(Port *port)
{
    if (port->graph)
        graphChanged(port->graph);
}

}  // namespace

Port *portNew(zif_context *context, int32_t type, const char *name)
{
    auto *port = objectNew<Port>(context, ZIF_TYPE_PORT, portDestroy);
    if (!port)
        return nullptr;
    new (&port->blockList) std::vector<uint64_t>();
    new (&port->connectors) std::vector<Connector *>();
    port->type = type;
    port->minConnections = 1;
    port->maxConnections = 1;
    port->descriptionId = zif_newID(context);
    port->name = zif_newString(context, name ? name : "");
    if (!port->name) {
        zif_release(asObject(port));
        return nullptr;
    }
    return port;
}

bool portStoreDescription(Port *port, zif_object *description)
{
    if (description && !zif_objectIsValue(description)) {
        fail(port->header.context, ZIF_ERR_WRONG_TYPE);
        return false;
    }
    if (description) {
        zif_addRef(description);
        valueLock(description);
    }
    if (port->description) {
        zif_valueUnlock(port->description);
        zif_release(port->description);
    }
    port->description = description;
    // Existing connections stay: what was agreed when connecting holds.
    uint64_t oldId = port->descriptionId;
    if (Graph *g = port->graph)
        graphForEachPort(g, [&](Node *, Port *p) { std::erase(p->blockList, oldId); });
    port->descriptionId = zif_newID(port->header.context);
    port->blockList.clear();
    changed(port);
    return true;
}

void portSetClosed(Port *port, bool closed)
{
    port->closed = closed;
    changed(port);
}

int32_t descriptionsMatch(zif_object *a, zif_object *b, zif_object **overlap)
{
    if (a && b)
        return zif_constraintsMatch(a, b, overlap);
    *overlap = nullptr;
    zif_object *given = a ? a : b;
    if (given && !zif_valueClone(given, overlap))
        return ZIF_MATCH_FAILURE;
    return ZIF_MATCH_FULL;
}

int32_t portCompatibility(Port *a, Port *b)
{
    if (a->type == b->type)
        return ZIF_MATCH_NONE;
    auto blocks = [](Port *p, uint64_t id) {
        return std::find(p->blockList.begin(), p->blockList.end(), id) != p->blockList.end();
    };
    if (blocks(a, b->descriptionId) || blocks(b, a->descriptionId))
        return ZIF_MATCH_NONE;
    Port *input = a->type == ZIF_PORT_INPUT ? a : b;
    Port *output = input == a ? b : a;
    return zif_constraintCheck(input->description, output->description);
}

}  // namespace zif

using namespace zif;

extern "C" {

uint64_t zif_portGetID(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->id : 0;
}

zif_object *zif_portGetNode(zif_object *port)
{
    Port *p = portOf(port);
    return p && p->node ? zif_addRef(asObject(p->node)) : nullptr;
}

int32_t zif_portGetType(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->type : 0;
}

zif_object *zif_portGetName(zif_object *port)
{
    Port *p = portOf(port);
    return p ? zif_addRef(p->name) : nullptr;
}

int32_t zif_portSetName(zif_object *port, const char *name)
{
    Port *p = portOf(port);
    if (!p)
        return 0;
    zif_object *value = zif_newString(port->context, name ? name : "");
    if (!value)
        return 0;
    zif_release(p->name);
    p->name = value;
    changed(p);
    return 1;
}

int32_t zif_portGetMinConnections(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->minConnections : 0;
}

int32_t zif_portSetMinConnections(zif_object *port, int32_t n)
{
    Port *p = portOf(port);
    if (!p || !forwardToMaster(p, p->graph && p->graph->remote.portSetMinConnections, [&](const GraphRemote &r) {
            return r.portSetMinConnections(r.user, p->id, n);
        }))
        return 0;
    p->minConnections = n;
    changed(p);
    return 1;
}

int32_t zif_portGetMaxConnections(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->maxConnections : 0;
}

int32_t zif_portSetMaxConnections(zif_object *port, int32_t n)
{
    Port *p = portOf(port);
    if (!p || !forwardToMaster(p, p->graph && p->graph->remote.portSetMaxConnections, [&](const GraphRemote &r) {
            return r.portSetMaxConnections(r.user, p->id, n);
        }))
        return 0;
    p->maxConnections = n;
    changed(p);
    return 1;
}

int32_t zif_portGetConnectorCount(zif_object *port)
{
    Port *p = portOf(port);
    return p ? portConnectorCount(p) : 0;
}

intptr_t zif_portGetUserData(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->userData : 0;
}

int32_t zif_portSetUserData(zif_object *port, intptr_t data)
{
    Port *p = portOf(port);
    if (!p)
        return 0;
    p->userData = data;
    return 1;
}

zif_portDestroyFunc zif_portGetDestroyFunc(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->destroy : nullptr;
}

int32_t zif_portSetDestroyFunc(zif_object *port, zif_portDestroyFunc function)
{
    Port *p = portOf(port);
    if (!p)
        return 0;
    p->destroy = function;
    return 1;
}

int32_t zif_portSetDescription(zif_object *port, zif_object *description)
{
    Port *p = portOf(port);
    if (!p || !forwardToMaster(p, p->graph && p->graph->remote.portSetDescription, [&](const GraphRemote &r) {
            return r.portSetDescription(r.user, p->id, description);
        }))
        return 0;
    return portStoreDescription(p, description) ? 1 : 0;
}

zif_object *zif_portGetDescription(zif_object *port)
{
    Port *p = portOf(port);
    return p ? zif_addRef(p->description) : nullptr;
}

int32_t zif_portSetRequestConnectFunc(zif_object *port, zif_portRequestConnectFunc function)
{
    Port *p = portOf(port);
    if (!p)
        return 0;
    p->requestConnect = function;
    return 1;
}

zif_portRequestConnectFunc zif_portGetRequestConnectFunc(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->requestConnect : nullptr;
}

int32_t zif_portSetOnConnectFunc(zif_object *port, zif_portOnConnectFunc function)
{
    Port *p = portOf(port);
    if (!p)
        return 0;
    p->onConnect = function;
    return 1;
}

zif_portOnConnectFunc zif_portGetOnConnectFunc(zif_object *port)
{
    Port *p = portOf(port);
    return p ? p->onConnect : nullptr;
}

}  // extern "C"
