// Making and ending connections between an output and an input port:
// description overlap, the ports' consent, connectors on both sides, and
// the block lists that keep a refused pairing from being tried again.
#include "framework/core/value.h"
#include "framework/graph/graph_types.h"

#include <algorithm>

namespace zif {

namespace {

// Holds a reference to an object for the length of a scope.
class Hold {
public:
    explicit Hold(void *record) : object_(zif_addRef(asObject(record))) {}
    ~Hold() { zif_release(object_); }
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;

private:
    zif_object *object_;
};

void attach(Connector *c, Port *port, Connector *partner, zif_object *description, uint64_t stamp)
{
    c->port = port;
    c->partner = partner;
    c->description = zif_addRef(description);
    c->stamp = stamp;
    c->connected = true;
    port->connectors.push_back(c);
}

void detach(Connector *c)
{
    Port *port = c->port;
    if (port)
        std::erase(port->connectors, c);
    c->connected = false;
    c->partner = nullptr;
    c->port = nullptr;  // the port may go while a plug-in keeps the connector
}

}  // namespace

bool graphConnect(Graph *graph, uint64_t id1, uint64_t id2, uint64_t connectorId1, uint64_t connectorId2)
{
    zif_context *context = graph->header.context;
    Port *a = graphFindPort(graph, id1);
    Port *b = graphFindPort(graph, id2);
    if (!a || !b || a->type == b->type) {
        fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    bool aIsOutput = a->type == ZIF_PORT_OUTPUT;
    Port *output = aIsOutput ? a : b;
    Port *input = aIsOutput ? b : a;
    uint64_t outputConnectorId = aIsOutput ? connectorId1 : connectorId2;
    uint64_t inputConnectorId = aIsOutput ? connectorId2 : connectorId1;
    if (output->closed || input->closed) {
        fail(context, ZIF_ERR_PORT_CLOSED);
        return false;
    }
    if (!portHasRoom(output) || !portHasRoom(input)) {
        fail(context, ZIF_ERR_NO_FREE_SLOT);
        return false;
    }
    Hold holdOutput(output), holdInput(input);

    zif_object *overlap = nullptr;
    int32_t grade = descriptionsMatch(output->description, input->description, &overlap);
    if (grade == ZIF_MATCH_FAILURE)
        return false;
    if (grade == ZIF_MATCH_NONE) {
        fail(context, ZIF_ERR_DESCRIPTION_MISMATCH);
        return false;
    }
    // The shared overlap is handed to both plug-ins: nobody changes it in place.
    if (overlap)
        valueLock(overlap);
    auto refuse = [&](int32_t code) {
        if (code)
            fail(context, code);
        zif_release(overlap);
        return false;
    };
    if (output->requestConnect && !output->requestConnect(asObject(output), input->description))
        return refuse(ZIF_ERR_CONNECTION_REFUSED);
    if (input->requestConnect && !input->requestConnect(asObject(input), output->description))
        return refuse(ZIF_ERR_CONNECTION_REFUSED);
    // The hooks may have changed the graph; the ports must still be able to pair.
    if (!output->graph || !input->graph || !portHasRoom(output) || !portHasRoom(input))
        return refuse(ZIF_ERR_NO_FREE_SLOT);

    Connector *outC = connectorNew(context, outputConnectorId);
    Connector *inC = outC ? connectorNew(context, inputConnectorId) : nullptr;
    if (!inC) {
        zif_release(asObject(outC));
        return refuse(0);
    }
    graphChanged(graph);
    attach(outC, output, inC, overlap, graph->changeCounter);
    attach(inC, input, outC, overlap, graph->changeCounter);
    zif_release(overlap);  // the connectors hold it now

    Hold holdOutC(outC), holdInC(inC);
    if (output->onConnect && !output->onConnect(asObject(output), asObject(outC))) {
        outC->disconnect = nullptr;
        inC->disconnect = nullptr;
        if (outC->connected)
            graphDisconnect(graph, outC, true);
        return false;
    }
    if (input->onConnect && !input->onConnect(asObject(input), asObject(inC))) {
        inC->disconnect = nullptr;
        if (inC->connected)
            graphDisconnect(graph, inC, true);
        return false;
    }
    return true;
}

bool graphDisconnect(Graph *graph, Connector *c, bool block)
{
    zif_context *context = graph->header.context;
    if (!c->connected || !c->partner || !c->port || c->port->graph != graph) {
        fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    Connector *partner = c->partner;
    Port *port = c->port;
    Port *partnerPort = partner->port;
    // Hooks run while both sides are whole; nothing goes away under us.
    Hold holdC(c), holdPartner(partner), holdPort(port), holdPartnerPort(partnerPort);
    if (c->disconnect)
        c->disconnect(asObject(c));
    if (partner->disconnect)
        partner->disconnect(asObject(partner));
    detach(c);
    detach(partner);
    zif_release(asObject(c));        // port's list reference
    zif_release(asObject(partner));  // partner port's list reference
    graphChanged(graph);
    if (block && partnerPort) {
        port->blockList.push_back(partnerPort->descriptionId);
        partnerPort->blockList.push_back(port->descriptionId);
    }
    return true;
}

void portDisconnectAll(Graph *graph, Port *port)
{
    while (!port->connectors.empty()) {
        Connector *c = port->connectors.back();
        if (!graphDisconnect(graph, c, false)) {
            // A half-made connector (its partner gone): drop it all the same.
            detach(c);
            zif_release(asObject(c));
        }
    }
}

}  // namespace zif

using namespace zif;

extern "C" {

int32_t zif_graphCreateConnection(zif_object *graph, uint64_t portId1, uint64_t portId2)
{
    Graph *g = graphOf(graph);
    return g && graphConnect(g, portId1, portId2, 0, 0) ? 1 : 0;
}

int32_t zif_graphDestroyConnection(zif_object *graph, zif_object *connector, int32_t block)
{
    Graph *g = graphOf(graph);
    Connector *c = g ? connectorOf(connector) : nullptr;
    if (g && !c && !connector)
        fail(graph->context, ZIF_ERR_INVALID_ARGUMENT);
    return c && graphDisconnect(g, c, block != 0) ? 1 : 0;
}

}  // extern "C"
