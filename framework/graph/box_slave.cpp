// The slave's side of a boxed node: a context and a graph of its own whose
// changes are asked of the master, and the loop serving its commands.
#include "framework/core/file.h"
#include "framework/core/log.h"
#include "framework/core/wire.h"
#include "framework/graph/box_protocol.h"

#include <string>
#include <vector>

namespace zif {

namespace {

// The context's own IDs start here, clear of the master's.
constexpr uint64_t kSlaveFirstId = uint64_t{1} << 32;

// Log entries made while no command is being served wait for the next one:
// the master only listens for requests then.
struct PendingEntry {
    int32_t target;
    int32_t level;
    std::string source, message;
};

struct Slave {
    zif_context *context = nullptr;
    zif_object *pipe = nullptr;
    zif_object *graph = nullptr;
    bool serving = false;
    std::vector<PendingEntry> pending;

    Graph *g() { return graphRecord(graph); }

    int32_t readStatus()
    {
        int32_t status = 0;
        return wireReadInt32(pipe, &status) ? status : statusOf(false);
    }

    int32_t readStatusAndId(uint64_t *id)
    {
        int32_t status = readStatus();
        if (status == 0 && !wireReadId(pipe, id))
            return statusOf(false);
        return status;
    }

    // The master's status for a request whose sending succeeded (ok).
    int32_t sent(bool ok) { return ok ? readStatus() : statusOf(false); }

    int32_t sendLog(int32_t target, int32_t level, const char *source, const char *message)
    {
        if (!serving) {
            pending.push_back({target, level, source, message});
            return 0;
        }
        return sent(wireWriteInt32(pipe, kRequestLog) && wireWriteInt32(pipe, target) && wireWriteInt32(pipe, level) &&
                    wireWriteString(pipe, source) && wireWriteString(pipe, message));
    }

    void startServing()
    {
        serving = true;
        std::vector<PendingEntry> entries;
        entries.swap(pending);
        for (const PendingEntry &e : entries)
            sendLog(e.target, e.level, e.source.c_str(), e.message.c_str());
    }

    // A status for the master: 0, or the error that the failure left.
    int32_t statusOf(bool ok)
    {
        if (ok)
            return 0;
        int32_t error = zif_getLastError(context);
        return error ? error : ZIF_ERR_INVALID_ARGUMENT;
    }

    bool reply(int32_t status) { return wireWriteInt32(pipe, kRequestEnd) && wireWriteInt32(pipe, status); }

    Node *findNode(uint64_t id) { return graphFindNode(g(), id); }

    Port *findPort(Node *node, uint64_t id)
    {
        for (Port *p = node ? node->ports : nullptr; p; p = p->next)
            if (p->id == id)
                return p;
        return nullptr;
    }

    Connector *findConnector(Port *port, uint64_t id)
    {
        if (port)
            for (Connector *c : port->connectors)
                if (c->id == id && c->connected)
                    return c;
        return nullptr;
    }

    // The node's output samples go to the master after each piece of work.
    bool pushOutputs(Node *node) { return boxQueuePush(pipe, node, ZIF_PORT_OUTPUT, kRequestQueueOffer); }

    bool loadModule()
    {
        char *path = wireReadString(pipe);
        if (!path)
            return false;
        startServing();
        zif_clearLastError(context);
        bool ok = zif_loadPluginModule(context, path);
        zif_free(context, path);
        return reply(statusOf(ok));
    }

    bool createNode()
    {
        char *name = wireReadString(pipe);
        int32_t hasDescription = 0;
        zif_object *description = nullptr;
        bool ok = name && wireReadInt32(pipe, &hasDescription) &&
                  (hasDescription != 1 || wireReadValue(pipe, &description));
        if (!ok) {
            zif_free(context, name);
            return false;
        }
        startServing();
        zif_clearLastError(context);
        uint64_t id = zif_graphDirectCreateNode(graph, name, description);
        zif_free(context, name);
        zif_release(description);
        return reply(statusOf(id != 0)) && (id == 0 || wireWriteId(pipe, id));
    }

    bool nodeWork()
    {
        uint64_t nodeId = 0;
        if (!wireReadId(pipe, &nodeId))
            return false;
        startServing();
        zif_clearLastError(context);
        Node *node = findNode(nodeId);
        if (!node)
            return reply(ZIF_ERR_NOT_FOUND);
        zif_object *hold = zif_addRef(asObject(node));
        bool ok = (!node->work || node->work(asObject(node))) && pushOutputs(node);
        zif_release(hold);
        return reply(statusOf(ok));
    }

    bool portWork()
    {
        uint64_t nodeId = 0, portId = 0;
        if (!wireReadId(pipe, &nodeId) || !wireReadId(pipe, &portId))
            return false;
        startServing();
        zif_clearLastError(context);
        Node *node = findNode(nodeId);
        Port *port = findPort(node, portId);
        if (!port)
            return reply(ZIF_ERR_NOT_FOUND);
        zif_object *hold = zif_addRef(asObject(node));
        bool ok = (!port->work || port->work(asObject(port))) && pushOutputs(node);
        zif_release(hold);
        return reply(statusOf(ok));
    }

    bool requestConnect()
    {
        uint64_t nodeId = 0, portId = 0;
        zif_object *partner = nullptr;
        if (!wireReadId(pipe, &nodeId) || !wireReadId(pipe, &portId) || !wireReadValue(pipe, &partner))
            return false;
        startServing();
        zif_clearLastError(context);
        Port *port = findPort(findNode(nodeId), portId);
        int32_t status = ZIF_ERR_NOT_FOUND;
        if (port) {
            bool ok = !port->requestConnect || port->requestConnect(asObject(port), partner);
            status = ok ? 0 : zif_getLastError(context) ? zif_getLastError(context) : ZIF_ERR_CONNECTION_REFUSED;
        }
        zif_release(partner);
        return reply(status);
    }

    // The partner's node and port as copies in the slave graph (made
    // locally with the master's IDs, never asked of it).
    Port *partnerCopy(uint64_t nodeId, uint64_t portId, int32_t type)
    {
        Node *node = findNode(nodeId);
        zif_object *made = nullptr;
        if (!node) {
            node = graphAddNode(g(), "", nodeId);
            made = asObject(node);
        }
        Port *port = findPort(node, portId);
        if (node && !port) {
            port = nodeAddPort(node, type, "", portId);
            if (port) {
                port->maxConnections = -1;  // it may stand for a port with many connections
                zif_release(asObject(port));
            }
        }
        zif_release(made);
        return port;
    }

    int32_t onConnect(uint64_t nodeId, uint64_t portId, uint64_t connectorId, uint64_t partnerNodeId,
                      uint64_t partnerPortId, uint64_t partnerConnectorId, zif_object *partnerDescription,
                      zif_object *connectorDescription)
    {
        Port *port = findPort(findNode(nodeId), portId);
        if (!port)
            return ZIF_ERR_NOT_FOUND;
        int32_t partnerType = port->type == ZIF_PORT_INPUT ? ZIF_PORT_OUTPUT : ZIF_PORT_INPUT;
        Port *partner = partnerCopy(partnerNodeId, partnerPortId, partnerType);
        if (!partner)
            return statusOf(false);
        if (partner->type != partnerType || !portStoreDescription(partner, partnerDescription))
            return ZIF_ERR_INVALID_ARGUMENT;
        if (!graphConnect(g(), port->id, partner->id, connectorId, partnerConnectorId))
            return statusOf(false);
        Connector *c = findConnector(port, connectorId);
        if (!c)
            return ZIF_ERR_NOT_FOUND;
        // Both sides must have agreed on the same description.
        bool same = (!c->description && !connectorDescription) ||
                    (c->description && connectorDescription && zif_valueEquals(c->description, connectorDescription));
        if (!same) {
            graphDisconnect(g(), c, false);
            return ZIF_ERR_CONVERSION;
        }
        return zif_listSetMaxEntryCount(c->queue, kBoxQueueMax) ? 0 : statusOf(false);
    }

    bool onConnect()
    {
        uint64_t ids[6] = {};
        for (uint64_t &id : ids)
            if (!wireReadId(pipe, &id))
                return false;
        zif_object *partnerDescription = nullptr, *connectorDescription = nullptr;
        bool ok = wireReadValue(pipe, &partnerDescription) && wireReadValue(pipe, &connectorDescription);
        int32_t status = 0;
        if (ok) {
            startServing();
            zif_clearLastError(context);
            status = onConnect(ids[0], ids[1], ids[2], ids[3], ids[4], ids[5], partnerDescription,
                               connectorDescription);
        }
        zif_release(partnerDescription);
        zif_release(connectorDescription);
        return ok && reply(status);
    }

    bool connectorWork()
    {
        uint64_t nodeId = 0, portId = 0, connectorId = 0;
        if (!wireReadId(pipe, &nodeId) || !wireReadId(pipe, &portId) || !wireReadId(pipe, &connectorId))
            return false;
        startServing();
        zif_clearLastError(context);
        Node *node = findNode(nodeId);
        Connector *c = findConnector(findPort(node, portId), connectorId);
        if (!c)
            return reply(ZIF_ERR_NOT_FOUND);
        zif_object *hold = zif_addRef(asObject(node));
        zif_object *holdConnector = zif_addRef(asObject(c));
        bool ok = (!c->work || c->work(asObject(c))) && pushOutputs(node);
        zif_release(holdConnector);
        zif_release(hold);
        return reply(statusOf(ok));
    }

    // One command; false ends the run (failure, or the end command).
    bool serve(int32_t code, bool *ended)
    {
        serving = false;
        switch (code) {
        case kCommandLoadModule:
            return loadModule();
        case kCommandCreateNode:
            return createNode();
        case kCommandNodeWork:
            return nodeWork();
        case kCommandPortWork:
            return portWork();
        case kCommandRequestConnect:
            return requestConnect();
        case kCommandOnConnect:
            return onConnect();
        case kCommandConnectorWork:
            return connectorWork();
        case kCommandQueueOffer:
            return boxQueueOffer(pipe, g(), nullptr);
        case kCommandEnd:
            *ended = true;
            return false;
        default:
            fail(context, ZIF_ERR_BAD_BINARY);
            return false;
        }
    }
};

Slave *slaveOf(void *user) { return static_cast<Slave *>(user); }

int32_t remoteNewNode(void *user, const char *name, uint64_t *id)
{
    Slave *s = slaveOf(user);
    bool sent = wireWriteInt32(s->pipe, kRequestNewNode) && wireWriteString(s->pipe, name);
    return sent ? s->readStatusAndId(id) : s->statusOf(false);
}

int32_t remoteNewPort(void *user, uint64_t nodeId, int32_t type, const char *name, uint64_t *id)
{
    Slave *s = slaveOf(user);
    bool sent = wireWriteInt32(s->pipe, kRequestNewPort) && wireWriteId(s->pipe, nodeId) &&
                wireWriteInt32(s->pipe, type) && wireWriteString(s->pipe, name);
    return sent ? s->readStatusAndId(id) : s->statusOf(false);
}

// The node owning a port of the slave graph, for requests naming both.
uint64_t nodeIdOfPort(Slave *s, uint64_t portId)
{
    Port *p = graphFindPort(s->g(), portId);
    return p && p->node ? p->node->id : 0;
}

int32_t remoteSetDescription(void *user, uint64_t portId, zif_object *description)
{
    Slave *s = slaveOf(user);
    return s->sent(wireWriteInt32(s->pipe, kRequestSetDescription) && wireWriteId(s->pipe, nodeIdOfPort(s, portId)) &&
                   wireWriteId(s->pipe, portId) && wireWriteValue(s->pipe, description));
}

int32_t remoteSetConnections(Slave *s, int32_t code, uint64_t portId, int32_t n)
{
    return s->sent(wireWriteInt32(s->pipe, code) && wireWriteId(s->pipe, nodeIdOfPort(s, portId)) &&
                   wireWriteId(s->pipe, portId) && wireWriteInt32(s->pipe, n));
}

int32_t remoteSetMin(void *user, uint64_t portId, int32_t n)
{
    return remoteSetConnections(slaveOf(user), kRequestSetMinConnections, portId, n);
}

int32_t remoteSetMax(void *user, uint64_t portId, int32_t n)
{
    return remoteSetConnections(slaveOf(user), kRequestSetMaxConnections, portId, n);
}

int32_t remoteSetFinished(void *user, uint64_t nodeId, int32_t flag)
{
    Slave *s = slaveOf(user);
    return s->sent(wireWriteInt32(s->pipe, kRequestSetFinished) && wireWriteId(s->pipe, nodeId) &&
                   wireWriteInt32(s->pipe, flag));
}

int32_t remoteSetDebugText(void *user, uint64_t nodeId, const char *text)
{
    Slave *s = slaveOf(user);
    return s->sent(wireWriteInt32(s->pipe, kRequestSetDebugText) && wireWriteId(s->pipe, nodeId) &&
                   wireWriteString(s->pipe, text));
}

int32_t remoteContextLog(void *user, int32_t level, const char *source, const char *message)
{
    return slaveOf(user)->sendLog(0, level, source, message);
}

int32_t remoteGraphLog(void *user, int32_t level, const char *source, const char *message)
{
    return slaveOf(user)->sendLog(1, level, source, message);
}

int32_t runSlave(Slave &s, intptr_t readHandle, intptr_t writeHandle, intptr_t masterProcess, intptr_t semaphore)
{
    s.pipe = zif_newFileFromPipeHandles(s.context, readHandle, writeHandle, masterProcess, 0, 0, semaphore);
    if (!s.pipe)
        return zif_getLastError(s.context);
    // The master may rest between pieces of work for as long as it likes;
    // its death, not a clock, ends the wait.
    fileSetTimeout(s.pipe, -1);
    logSetRemote(s.context->log, remoteContextLog, &s);
    s.graph = zif_newGraph(s.context, 0);
    if (!s.graph)
        return zif_getLastError(s.context);
    logSetRemote(graphRecord(s.graph)->log, remoteGraphLog, &s);
    GraphRemote remote{&s,           remoteNewNode,     remoteNewPort,     remoteSetDescription, remoteSetMin,
                       remoteSetMax, remoteSetFinished, remoteSetDebugText};
    graphMakeSlave(s.graph, remote, s.pipe);
    bool ended = false;
    for (;;) {
        int32_t code = 0;
        if (!wireReadInt32(s.pipe, &code) || !s.serve(code, &ended))
            break;
    }
    if (ended)
        return 0;
    int32_t error = zif_getLastError(s.context);
    return error ? error : ZIF_ERR_READ;
}

}  // namespace

}  // namespace zif

using namespace zif;

extern "C" int32_t zif_doPipeSlave(intptr_t readHandle, intptr_t writeHandle, intptr_t masterProcess,
                                   intptr_t semaphore)
{
    Slave s;
    if (int32_t error = zif_create(&s.context))
        return error;
    s.context->idCounter = kSlaveFirstId;
    int32_t result = runSlave(s, readHandle, writeHandle, masterProcess, semaphore);
    // Nodes go first, while their plug-ins can still log; nothing is sent now.
    s.serving = false;
    zif_release(s.graph);
    logSetRemote(s.context->log, nullptr, nullptr);
    zif_release(s.pipe);
    zif_destroy(s.context);
    return result;
}
