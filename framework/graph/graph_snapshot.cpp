// Snapshots of a graph's state: taken when the search opens a level and to
// recognise states already reached, compared by content (IDs take no part),
// and restored when the search backtracks.
#include "framework/core/value.h"
#include "framework/graph/graph_types.h"

#include <algorithm>
#include <new>

namespace zif {

namespace {

struct ConnectorSnapshot {
    uint64_t id;
    zif_object *description;
    zif_object *portDescription;
    zif_object *partnerDescription;
    uint64_t hash;
};

struct PortSnapshot {
    uint64_t id;
    int32_t type;
    int32_t minConnections;
    int32_t maxConnections;
    zif_object *description;
    bool closed;
    zif_object *name;
    std::vector<ConnectorSnapshot> connectors;
    uint64_t hash;
};

struct NodeSnapshot {
    uint64_t id;
    zif_object *name;
    bool finished;
    std::vector<PortSnapshot> ports;
    uint64_t hash;
};

struct GraphSnapshot {
    zif_object header;
    int32_t nodeCount;
    int32_t finishedCount;
    std::vector<NodeSnapshot> nodes;
    uint64_t hash;
};

GraphSnapshot *snapshotRecord(zif_object *o) { return reinterpret_cast<GraphSnapshot *>(o); }

uint64_t combine(uint64_t h, uint64_t v) { return (h ^ v) * 0x100000001b3ULL + 0x9e3779b97f4a7c15ULL; }

void snapshotDestroy(zif_object *object)
{
    GraphSnapshot *s = snapshotRecord(object);
    for (NodeSnapshot &n : s->nodes) {
        zif_release(n.name);
        for (PortSnapshot &p : n.ports) {
            zif_release(p.description);
            zif_release(p.name);
            for (ConnectorSnapshot &c : p.connectors) {
                zif_release(c.description);
                zif_release(c.portDescription);
                zif_release(c.partnerDescription);
            }
        }
    }
    s->nodes.~vector();
}

ConnectorSnapshot connectorSnapshot(Connector *c)
{
    zif_object *partnerDescription = c->partner && c->partner->port ? c->partner->port->description : nullptr;
    ConnectorSnapshot s{c->id, zif_addRef(c->description), zif_addRef(c->port->description),
                        zif_addRef(partnerDescription), 0};
    s.hash = combine(valueHash(c->description), valueHash(partnerDescription));
    return s;
}

PortSnapshot portSnapshot(Port *p)
{
    PortSnapshot s{p->id, p->type, p->minConnections, p->maxConnections, zif_addRef(p->description), p->closed,
                   zif_addRef(p->name), {}, 0};
    uint64_t connectorsHash = 0;  // in any order
    for (Connector *c : p->connectors) {
        if (!c->connected)
            continue;
        s.connectors.push_back(connectorSnapshot(c));
        connectorsHash += s.connectors.back().hash;
    }
    uint64_t h = combine(static_cast<uint64_t>(p->type), static_cast<uint64_t>(static_cast<uint32_t>(p->minConnections)));
    h = combine(h, static_cast<uint64_t>(static_cast<uint32_t>(p->maxConnections)));
    h = combine(h, p->closed);
    h = combine(h, valueHash(p->name));
    h = combine(h, valueHash(p->description));
    s.hash = combine(h, connectorsHash);
    return s;
}

NodeSnapshot nodeSnapshot(Node *n)
{
    NodeSnapshot s{n->id, zif_addRef(n->name), n->finished, {}, 0};
    uint64_t portsHash = 0;
    for (Port *p = n->ports; p; p = p->next) {
        if (!p->attached)
            continue;
        s.ports.push_back(portSnapshot(p));
        portsHash += s.ports.back().hash;
    }
    s.hash = combine(combine(valueHash(n->name), n->finished), portsHash);
    return s;
}

zif_object *snapshotTake(Graph *graph)
{
    auto *s = objectNew<GraphSnapshot>(graph->header.context, ZIF_TYPE_GRAPH_SNAPSHOT, snapshotDestroy);
    if (!s)
        return nullptr;
    new (&s->nodes) std::vector<NodeSnapshot>();
    s->nodeCount = graph->nodeCount;
    s->finishedCount = graph->finishedCount;
    uint64_t nodesHash = 0;
    for (Node *n = graph->nodes; n; n = n->next) {
        if (!n->attached)
            continue;
        s->nodes.push_back(nodeSnapshot(n));
        nodesHash += s->nodes.back().hash;
    }
    s->hash = combine(static_cast<uint64_t>(s->nodes.size()), nodesHash);
    return asObject(s);
}

bool connectorsEqual(const ConnectorSnapshot &a, const ConnectorSnapshot &b)
{
    return a.hash == b.hash && zif_valueEquals(a.description, b.description) &&
           zif_valueEquals(a.partnerDescription, b.partnerDescription);
}

// Every connector of a has an equal one in b.
bool connectorsCovered(const PortSnapshot &a, const PortSnapshot &b)
{
    return std::all_of(a.connectors.begin(), a.connectors.end(), [&](const ConnectorSnapshot &x) {
        return std::any_of(b.connectors.begin(), b.connectors.end(),
                           [&](const ConnectorSnapshot &y) { return connectorsEqual(x, y); });
    });
}

bool portsEqual(const PortSnapshot &a, const PortSnapshot &b)
{
    return a.hash == b.hash && a.type == b.type && a.minConnections == b.minConnections &&
           a.maxConnections == b.maxConnections && a.closed == b.closed && a.connectors.size() == b.connectors.size() &&
           zif_valueEquals(a.name, b.name) && zif_valueEquals(a.description, b.description) &&
           connectorsCovered(a, b) && connectorsCovered(b, a);
}

bool portsCovered(const NodeSnapshot &a, const NodeSnapshot &b)
{
    return std::all_of(a.ports.begin(), a.ports.end(), [&](const PortSnapshot &x) {
        return std::any_of(b.ports.begin(), b.ports.end(), [&](const PortSnapshot &y) { return portsEqual(x, y); });
    });
}

bool nodesEqual(const NodeSnapshot &a, const NodeSnapshot &b)
{
    return a.hash == b.hash && a.ports.size() == b.ports.size() && a.finished == b.finished &&
           zif_valueEquals(a.name, b.name) && portsCovered(a, b) && portsCovered(b, a);
}

const NodeSnapshot *findNode(const GraphSnapshot *s, uint64_t id)
{
    for (const NodeSnapshot &n : s->nodes)
        if (n.id == id)
            return &n;
    return nullptr;
}

const PortSnapshot *findPort(const NodeSnapshot &n, uint64_t id)
{
    for (const PortSnapshot &p : n.ports)
        if (p.id == id)
            return &p;
    return nullptr;
}

const ConnectorSnapshot *findConnector(const PortSnapshot &p, uint64_t id)
{
    for (const ConnectorSnapshot &c : p.connectors)
        if (c.id == id)
            return &c;
    return nullptr;
}

// Everything the snapshot records is still in the graph.
bool snapshotRestorable(Graph *graph, const GraphSnapshot *s)
{
    for (const NodeSnapshot &ns : s->nodes) {
        Node *n = graphFindNode(graph, ns.id);
        if (!n)
            return false;
        for (const PortSnapshot &ps : ns.ports) {
            Port *p = n->ports;
            while (p && p->id != ps.id)
                p = p->next;
            if (!p)
                return false;
            for (const ConnectorSnapshot &cs : ps.connectors)
                if (std::none_of(p->connectors.begin(), p->connectors.end(), [&](Connector *c) { return c->id == cs.id; }))
                    return false;
        }
    }
    return true;
}

void replaceValue(zif_object *&slot, zif_object *value)
{
    zif_object *old = slot;
    slot = zif_addRef(value);
    zif_release(old);
}

void restorePort(Graph *graph, Port *p, const PortSnapshot &ps)
{
    p->minConnections = ps.minConnections;
    p->maxConnections = ps.maxConnections;
    p->closed = ps.closed;
    replaceValue(p->name, ps.name);
    if (p->description != ps.description)
        portStoreDescription(p, ps.description);
    std::vector<Connector *> current = p->connectors;
    for (Connector *c : current)
        zif_addRef(asObject(c));
    for (Connector *c : current) {
        if (!c->connected || c->port != p)
            continue;
        if (const ConnectorSnapshot *cs = findConnector(ps, c->id)) {
            if (c->description != cs->description) {
                replaceValue(c->description, cs->description);
                if (c->partner)
                    replaceValue(c->partner->description, cs->description);
            }
        } else {
            graphDisconnect(graph, c, false);
        }
    }
    for (Connector *c : current)
        zif_release(asObject(c));
}

}  // namespace

zif_object *graphCurrentSnapshot(Graph *graph)
{
    if (!graph->cachedSnapshot)
        graph->cachedSnapshot = snapshotTake(graph);
    return graph->cachedSnapshot;
}

uint64_t snapshotHash(zif_object *snapshot) { return snapshotRecord(snapshot)->hash; }

bool snapshotsEqual(zif_object *a, zif_object *b)
{
    if (a == b)
        return true;
    GraphSnapshot *x = snapshotRecord(a);
    GraphSnapshot *y = snapshotRecord(b);
    if (x->hash != y->hash || x->nodes.size() != y->nodes.size())
        return false;
    return std::all_of(x->nodes.begin(), x->nodes.end(), [&](const NodeSnapshot &n) {
        return std::any_of(y->nodes.begin(), y->nodes.end(), [&](const NodeSnapshot &m) { return nodesEqual(n, m); });
    });
}

bool graphRestore(Graph *graph, zif_object *snapshot)
{
    GraphSnapshot *s = snapshotRecord(snapshot);
    if (!snapshotRestorable(graph, s))
        return false;
    zif_object *keep = zif_addRef(snapshot);
    for (Node *n = graph->nodes; n;) {
        Node *next = n->next;
        const NodeSnapshot *ns = findNode(s, n->id);
        if (!ns) {
            graphRemoveNode(graph, n);
            n = next;
            continue;
        }
        replaceValue(n->name, ns->name);
        nodeStoreFinished(n, ns->finished);
        for (Port *p = n->ports; p;) {
            Port *nextPort = p->next;
            if (const PortSnapshot *ps = findPort(*ns, p->id))
                restorePort(graph, p, *ps);
            else
                nodeRemovePort(graph, n, p);
            p = nextPort;
        }
        n = next;
    }
    graphChanged(graph);
    graph->cachedSnapshot = keep;
    graph->finishedCount = s->finishedCount;
    return true;
}

}  // namespace zif
