// The master's stand-ins for a slave's nodes: proxy nodes, ports and
// connectors whose hooks forward to the slave over the shared channel.
#include "framework/core/wire.h"
#include "framework/graph/box_protocol.h"

#include <new>

namespace zif {

namespace {

BoxChannel *channelOf(intptr_t userData) { return reinterpret_cast<BoxChannel *>(userData); }

zif_object *pipeOfNode(Node *node) { return channelOf(node->userData)->pipe; }

// Sends the samples waiting in the node's input queues to the slave.
bool pushInputs(Node *node) { return boxQueuePush(pipeOfNode(node), node, ZIF_PORT_INPUT, kCommandQueueOffer); }

void connectorDestroy(zif_object *connector)
{
    boxChannelRelease(channelOf(connectorRecord(connector)->userData));
}

int32_t connectorWork(zif_object *connector)
{
    Connector *c = connectorRecord(connector);
    Port *port = c->port;
    Node *node = port ? port->node : nullptr;
    if (!node || !node->graph)
        return 1;
    BoxChannel *channel = channelOf(c->userData);
    zif_object *pipe = channel->pipe;
    return pushInputs(node) && wireWriteInt32(pipe, kCommandConnectorWork) && wireWriteId(pipe, node->id) &&
                   wireWriteId(pipe, port->id) && wireWriteId(pipe, c->id) && boxAwaitReply(channel, node->graph)
               ? 1
               : 0;
}

int32_t nodeWork(zif_object *node)
{
    Node *n = nodeRecord(node);
    BoxChannel *channel = channelOf(n->userData);
    return pushInputs(n) && wireWriteInt32(channel->pipe, kCommandNodeWork) && wireWriteId(channel->pipe, n->id) &&
                   boxAwaitReply(channel, n->graph)
               ? 1
               : 0;
}

void nodeDestroy(zif_object *node) { boxChannelRelease(channelOf(nodeRecord(node)->userData)); }

int32_t portWork(zif_object *port)
{
    Port *p = portRecord(port);
    if (!p->node || !p->graph)
        return 1;
    BoxChannel *channel = channelOf(p->userData);
    return pushInputs(p->node) && wireWriteInt32(channel->pipe, kCommandPortWork) &&
                   wireWriteId(channel->pipe, p->node->id) && wireWriteId(channel->pipe, p->id) &&
                   boxAwaitReply(channel, p->graph)
               ? 1
               : 0;
}

int32_t portRequestConnect(zif_object *port, zif_object *partnerDescription)
{
    Port *p = portRecord(port);
    if (!p->node || !p->graph)
        return 0;
    BoxChannel *channel = channelOf(p->userData);
    zif_object *pipe = channel->pipe;
    return wireWriteInt32(pipe, kCommandRequestConnect) && wireWriteId(pipe, p->node->id) && wireWriteId(pipe, p->id) &&
                   wireWriteValue(pipe, partnerDescription) && boxAwaitReply(channel, p->graph)
               ? 1
               : 0;
}

int32_t portOnConnect(zif_object *port, zif_object *connector)
{
    Port *p = portRecord(port);
    Connector *c = connectorRecord(connector);
    Connector *partner = c->partner;
    Port *partnerPort = partner ? partner->port : nullptr;
    if (!p->node || !p->graph || !partnerPort || !partnerPort->node)
        return 0;
    BoxChannel *channel = channelOf(p->userData);
    zif_object *pipe = channel->pipe;
    bool ok = wireWriteInt32(pipe, kCommandOnConnect) && wireWriteId(pipe, p->node->id) && wireWriteId(pipe, p->id) &&
              wireWriteId(pipe, c->id) && wireWriteId(pipe, partnerPort->node->id) &&
              wireWriteId(pipe, partnerPort->id) && wireWriteId(pipe, partner->id) &&
              wireWriteValue(pipe, partnerPort->description) && wireWriteValue(pipe, c->description) &&
              boxAwaitReply(channel, p->graph);
    if (!ok)
        return 0;
    c->work = connectorWork;
    c->userData = reinterpret_cast<intptr_t>(boxChannelRetain(channel));
    c->destroy = connectorDestroy;
    return zif_listSetMaxEntryCount(c->queue, kBoxQueueMax);
}

void portDestroy(zif_object *port) { boxChannelRelease(channelOf(portRecord(port)->userData)); }

}  // namespace

BoxChannel *boxChannelNew(zif_object *pipe)
{
    auto *channel = new (std::nothrow) BoxChannel{1, pipe};
    if (!channel) {
        zif_release(pipe);
        fail(pipe->context, ZIF_ERR_NO_MEMORY);
    }
    return channel;
}

BoxChannel *boxChannelRetain(BoxChannel *channel)
{
    ++channel->refs;
    return channel;
}

void boxChannelRelease(BoxChannel *channel)
{
    if (!channel || --channel->refs > 0)
        return;
    // The slave's run ends; a failure here only means it has gone already.
    zif_context *context = channel->pipe->context;
    int32_t error = zif_getLastError(context);
    wireWriteInt32(channel->pipe, kCommandEnd);
    zif_setLastError(context, error);
    zif_release(channel->pipe);
    delete channel;
}

bool boxIsProxyOf(Node *node, BoxChannel *channel)
{
    return node->work == nodeWork && channelOf(node->userData) == channel;
}

Node *boxProxyNodeNew(BoxChannel *channel, Graph *graph, const char *name)
{
    Node *node = graphAddNode(graph, name, 0);
    if (!node)
        return nullptr;
    node->work = nodeWork;
    node->destroy = nodeDestroy;
    node->userData = reinterpret_cast<intptr_t>(boxChannelRetain(channel));
    return node;
}

Port *boxProxyPortNew(BoxChannel *channel, Node *node, int32_t type, const char *name)
{
    Port *port = nodeAddPort(node, type, name, 0);
    if (!port)
        return nullptr;
    port->work = portWork;
    port->requestConnect = portRequestConnect;
    port->onConnect = portOnConnect;
    port->destroy = portDestroy;
    port->userData = reinterpret_cast<intptr_t>(boxChannelRetain(channel));
    return port;
}

}  // namespace zif
