// The master's side of a slave's requests: what a boxed node does to its
// graph is mirrored on the proxies, and the slave learns the outcome.
#include "framework/core/file.h"
#include "framework/core/wire.h"
#include "framework/graph/box_protocol.h"

namespace zif {

namespace {

// A status for the slave: 0, or the error the operation left (never 0).
int32_t statusOf(zif_context *context, bool ok)
{
    if (ok)
        return 0;
    int32_t error = zif_getLastError(context);
    return error ? error : ZIF_ERR_INVALID_ARGUMENT;
}

struct Request {
    BoxChannel *channel;
    Graph *graph;
    zif_object *pipe;
    zif_context *context;

    Node *proxyNode(uint64_t id)
    {
        Node *node = graphFindNode(graph, id);
        if (node && boxIsProxyOf(node, channel))
            return node;
        fail(context, ZIF_ERR_NOT_FOUND);
        return nullptr;
    }

    Port *proxyPort(uint64_t nodeId, uint64_t portId)
    {
        Node *node = proxyNode(nodeId);
        for (Port *p = node ? node->ports : nullptr; p; p = p->next)
            if (p->id == portId)
                return p;
        fail(context, ZIF_ERR_NOT_FOUND);
        return nullptr;
    }

    bool reply(bool ok) { return wireWriteInt32(pipe, statusOf(context, ok)); }

    bool replyWithId(bool ok, uint64_t id)
    {
        return reply(ok) && (!ok || wireWriteId(pipe, id));
    }

    bool newNode()
    {
        char *name = wireReadString(pipe);
        if (!name)
            return false;
        Node *node = boxProxyNodeNew(channel, graph, name);
        zif_free(context, name);
        uint64_t id = node ? node->id : 0;
        zif_release(asObject(node));
        return replyWithId(node != nullptr, id);
    }

    bool newPort()
    {
        uint64_t nodeId = 0;
        int32_t type = 0;
        if (!wireReadId(pipe, &nodeId) || !wireReadInt32(pipe, &type))
            return false;
        char *name = wireReadString(pipe);
        if (!name)
            return false;
        Node *node = proxyNode(nodeId);
        Port *port = node ? boxProxyPortNew(channel, node, type, name) : nullptr;
        zif_free(context, name);
        uint64_t id = port ? port->id : 0;
        zif_release(asObject(port));
        return replyWithId(port != nullptr, id);
    }

    bool setDescription()
    {
        uint64_t nodeId = 0, portId = 0;
        zif_object *description = nullptr;
        if (!wireReadId(pipe, &nodeId) || !wireReadId(pipe, &portId) || !wireReadValue(pipe, &description))
            return false;
        Port *port = proxyPort(nodeId, portId);
        bool ok = port && zif_portSetDescription(asObject(port), description);
        zif_release(description);
        return reply(ok);
    }

    bool setFinished()
    {
        uint64_t nodeId = 0;
        int32_t flag = 0;
        if (!wireReadId(pipe, &nodeId) || !wireReadInt32(pipe, &flag))
            return false;
        Node *node = proxyNode(nodeId);
        return reply(node && zif_nodeSetFinishedForNow(asObject(node), flag));
    }

    bool setDebugText()
    {
        uint64_t nodeId = 0;
        if (!wireReadId(pipe, &nodeId))
            return false;
        char *text = wireReadString(pipe);
        if (!text)
            return false;
        Node *node = proxyNode(nodeId);
        bool ok = node && zif_nodeSetDebugText(asObject(node), text);
        zif_free(context, text);
        return reply(ok);
    }

    bool setConnections(bool minimum)
    {
        uint64_t nodeId = 0, portId = 0;
        int32_t n = 0;
        if (!wireReadId(pipe, &nodeId) || !wireReadId(pipe, &portId) || !wireReadInt32(pipe, &n))
            return false;
        Port *port = proxyPort(nodeId, portId);
        zif_object *p = asObject(port);
        return reply(port && (minimum ? zif_portSetMinConnections(p, n) : zif_portSetMaxConnections(p, n)));
    }

    bool log()
    {
        int32_t target = 0, level = 0;
        if (!wireReadInt32(pipe, &target) || !wireReadInt32(pipe, &level))
            return false;
        char *source = wireReadString(pipe);
        char *message = source ? wireReadString(pipe) : nullptr;
        bool ok = message && zif_logAddEntry(target == 1 ? graph->log : context->log, level, source, message);
        zif_free(context, source);
        zif_free(context, message);
        return message && reply(ok);
    }

    // One request; false ends the exchange (a failed transfer or a request
    // that makes no sense).
    bool serve(int32_t code)
    {
        switch (code) {
        case kRequestNewNode:
            return newNode();
        case kRequestNewPort:
            return newPort();
        case kRequestSetDescription:
            return setDescription();
        case kRequestQueueOffer:
            return boxQueueOffer(pipe, graph, channel);
        case kRequestSetFinished:
            return setFinished();
        case kRequestSetDebugText:
            return setDebugText();
        case kRequestSetMinConnections:
            return setConnections(true);
        case kRequestSetMaxConnections:
            return setConnections(false);
        case kRequestLog:
            return log();
        default:
            // Its arguments are unknown, so the stream cannot be followed.
            fail(context, ZIF_ERR_BAD_BINARY);
            return false;
        }
    }
};

}  // namespace

bool boxAwaitReply(BoxChannel *channel, Graph *graph)
{
    if (!graph) {
        fail(channel->pipe->context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    zif_object *hold = zif_addRef(asObject(graph));
    Request request{channel, graph, channel->pipe, channel->pipe->context};
    int32_t code = kRequestEnd;
    bool ok = true;
    while (ok && (ok = wireReadInt32(request.pipe, &code)) && code != kRequestEnd)
        ok = request.serve(code);
    int32_t status = 0;
    ok = ok && wireReadInt32(request.pipe, &status);
    zif_release(hold);
    if (!ok) {
        // The exchange broke off midway: nothing later on the pipe can be trusted.
        int32_t error = zif_getLastError(request.context);
        fileFail(request.pipe, error ? error : ZIF_ERR_BAD_BINARY);
        return false;
    }
    if (status != 0) {
        fail(request.context, status);
        return false;
    }
    return ok;
}

}  // namespace zif
