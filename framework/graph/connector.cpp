// Connectors: one on each side of a connection, with the agreed
// description, the sample queue and the plug-in's hooks.
#include "framework/graph/graph_types.h"

namespace zif {

namespace {

void connectorDestroy(zif_object *object)
{
    Connector *c = connectorRecord(object);
    object->refCount = 1;  // the destroy hook may take and drop references
    if (c->destroy)
        c->destroy(object);
    zif_release(c->description);
    zif_release(c->queue);
    object->refCount = 0;
}

}  // namespace

Connector *connectorNew(zif_context *context, uint64_t id)
{
    auto *c = objectNew<Connector>(context, ZIF_TYPE_CONNECTOR, connectorDestroy);
    if (!c)
        return nullptr;
    c->id = id ? id : zif_newID(context);
    c->queue = zif_newList(context);
    if (!c->queue) {
        zif_release(asObject(c));
        return nullptr;
    }
    return c;
}

}  // namespace zif

using namespace zif;

extern "C" {

zif_object *zif_portConnectorGetPort(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c && c->port ? zif_addRef(asObject(c->port)) : nullptr;
}

zif_object *zif_portConnectorGetDescription(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c ? zif_addRef(c->description) : nullptr;
}

zif_object *zif_portConnectorGetPartnerDescription(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c && c->partner && c->partner->port ? zif_addRef(c->partner->port->description) : nullptr;
}

zif_object *zif_portConnectorGetQueue(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c ? zif_addRef(c->queue) : nullptr;
}

intptr_t zif_portConnectorGetUserData(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c ? c->userData : 0;
}

intptr_t zif_portConnectorSetUserData(zif_object *connector, intptr_t data)
{
    Connector *c = connectorOf(connector);
    if (!c)
        return 0;
    c->userData = data;
    return data;
}

zif_portConnectorDisconnectFunc zif_portConnectorGetDisconnectFunc(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c ? c->disconnect : nullptr;
}

int32_t zif_portConnectorSetDisconnectFunc(zif_object *connector, zif_portConnectorDisconnectFunc function)
{
    Connector *c = connectorOf(connector);
    if (!c)
        return 0;
    c->disconnect = function;
    return 1;
}

zif_portConnectorDestroyFunc zif_portConnectorGetDestroyFunc(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c ? c->destroy : nullptr;
}

int32_t zif_portConnectorSetDestroyFunc(zif_object *connector, zif_portConnectorDestroyFunc function)
{
    Connector *c = connectorOf(connector);
    if (!c)
        return 0;
    c->destroy = function;
    return 1;
}

zif_portConnectorChangeDescriptionFunc zif_portConnectorGetChangeDescriptionFunc(zif_object *connector)
{
    Connector *c = connectorOf(connector);
    return c ? c->changeDescription : nullptr;
}

int32_t zif_portConnectorSetChangeDescriptionFunc(zif_object *connector,
                                                  zif_portConnectorChangeDescriptionFunc function)
{
    Connector *c = connectorOf(connector);
    if (!c)
        return 0;
    c->changeDescription = function;
    return 1;
}

}  // extern "C"
