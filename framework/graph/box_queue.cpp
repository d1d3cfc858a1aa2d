// Moving samples across the slave pipe: the sender offers the front sample
// of each connector queue and sends it when the receiver has room; the
// receiver appends it to the connector with the same IDs on its side.
#include "framework/core/wire.h"
#include "framework/graph/box_protocol.h"

namespace zif {

namespace {

// Offers the samples of one connector's queue until one is refused.
bool pushConnector(zif_object *pipe, Node *node, Port *port, Connector *c, int32_t code)
{
    while (zif_listGetEntryCount(c->queue) > 0) {
        zif_object *sample = zif_listRemoveFirst(c->queue);
        if (zif_objectGetType(sample) != ZIF_TYPE_TABLE) {
            zif_listInsert(c->queue, zif_listBegin(c->queue), sample);
            zif_release(sample);
            fail(pipe->context, ZIF_ERR_WRONG_TYPE);
            return false;
        }
        int32_t flag = 0;
        bool ok = wireWriteInt32(pipe, code) && wireWriteId(pipe, node->id) && wireWriteId(pipe, port->id) &&
                  wireWriteId(pipe, c->id) && wireReadInt32(pipe, &flag);
        if (ok && flag == 1)
            ok = wireWriteValue(pipe, sample);
        else
            zif_listInsert(c->queue, zif_listBegin(c->queue), sample);
        zif_release(sample);
        if (!ok)
            return false;
        if (flag != 1)
            return true;
    }
    return true;
}

}  // namespace

bool boxQueuePush(zif_object *pipe, Node *node, int32_t portType, int32_t code)
{
    zif_object *hold = zif_addRef(asObject(node));
    bool ok = true;
    for (Port *p = node->ports; ok && p; p = p->next) {
        if (p->type != portType)
            continue;
        std::vector<zif_object *> connectors;
        for (Connector *c : p->connectors)
            connectors.push_back(zif_addRef(asObject(c)));
        for (zif_object *o : connectors) {
            Connector *c = connectorRecord(o);
            if (ok && c->connected)
                ok = pushConnector(pipe, node, p, c, code);
            zif_release(o);
        }
    }
    zif_release(hold);
    return ok;
}

bool boxQueueOffer(zif_object *pipe, Graph *graph, BoxChannel *proxiesOf)
{
    uint64_t nodeId = 0, portId = 0, connectorId = 0;
    if (!wireReadId(pipe, &nodeId) || !wireReadId(pipe, &portId) || !wireReadId(pipe, &connectorId))
        return false;
    Node *node = graph ? graphFindNode(graph, nodeId) : nullptr;
    Port *port = nullptr;
    Connector *connector = nullptr;
    if (node && (!proxiesOf || boxIsProxyOf(node, proxiesOf)))
        for (Port *p = node->ports; p && !port; p = p->next)
            if (p->id == portId)
                port = p;
    if (port)
        for (Connector *c : port->connectors)
            if (c->id == connectorId && c->connected)
                connector = c;
    if (!connector) {
        fail(pipe->context, ZIF_ERR_BAD_BINARY);
        return false;
    }
    zif_object *queue = zif_addRef(connector->queue);
    bool room = zif_listHasFreeSlots(queue, 1) != 0;
    zif_object *sample = nullptr;
    bool ok = wireWriteInt32(pipe, room ? 1 : 0) && (!room || wireReadValue(pipe, &sample));
    if (ok && room) {
        if (zif_objectGetType(sample) != ZIF_TYPE_TABLE) {
            fail(pipe->context, ZIF_ERR_BAD_BINARY);
            ok = false;
        } else {
            ok = zif_listAdd(queue, sample) != nullptr;
        }
    }
    zif_release(sample);
    zif_release(queue);
    return ok;
}

}  // namespace zif
