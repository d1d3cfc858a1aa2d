// The graph, node, port, connector and builder records, shared by the files
// of the graph layer.
#pragma once

#include "framework/core/object.h"

#include <vector>

namespace zif {

struct Graph;
struct Node;
struct Port;
struct Connector;
struct GraphBuilder;
struct SearchLevel;
struct SearchChoice;

// Where a graph of a slave process sends what its nodes do, so that the
// master can mirror it. Each function returns 0 or the error code to record;
// a null function is not forwarded.
struct GraphRemote {
    void *user;
    int32_t (*newNodeId)(void *user, const char *name, uint64_t *id);
    int32_t (*newPortId)(void *user, uint64_t nodeId, int32_t type, const char *name, uint64_t *id);
    int32_t (*portSetDescription)(void *user, uint64_t portId, zif_object *description);
    int32_t (*portSetMinConnections)(void *user, uint64_t portId, int32_t n);
    int32_t (*portSetMaxConnections)(void *user, uint64_t portId, int32_t n);
    int32_t (*nodeSetFinishedForNow)(void *user, uint64_t nodeId, int32_t flag);
    int32_t (*nodeSetDebugText)(void *user, uint64_t nodeId, const char *text);
};

struct Connector {
    zif_object header;
    uint64_t id;
    uint64_t stamp;
    Port *port;           // null once the connection is gone
    Connector *partner;   // null once the connection is gone
    zif_object *description;
    zif_object *queue;
    intptr_t userData;
    zif_portConnectorWorkFunc work;
    zif_portConnectorChangeDescriptionFunc changeDescription;
    zif_portConnectorDisconnectFunc disconnect;
    zif_portConnectorDestroyFunc destroy;
    bool connected;
};

struct Port {
    zif_object header;
    uint64_t id;
    Graph *graph;  // not counted; null once the graph or node is gone
    Node *node;    // not counted; null once the node is gone
    uint64_t stamp;
    int32_t type;
    zif_object *name;
    uint64_t descriptionId;
    int32_t minConnections;
    int32_t maxConnections;
    bool closed;
    bool attached;
    intptr_t userData;
    zif_object *description;
    std::vector<uint64_t> blockList;
    std::vector<Connector *> connectors;  // each held with a reference
    Port *next;
    zif_portWorkFunc work;
    zif_portRequestConnectFunc requestConnect;
    zif_portOnConnectFunc onConnect;
    zif_portDestroyFunc destroy;
};

struct Node {
    zif_object header;
    uint64_t id;
    Graph *graph;  // not counted; null once the graph is gone
    uint64_t stamp;
    bool attached;
    Port *ports;   // newest first, each held with a reference
    Node *next;
    zif_nodeWorkFunc work;
    zif_nodeDestroyFunc destroy;
    bool visited;
    bool finished;
    zif_object *name;
    zif_object *debugText;
    intptr_t userData;
};

struct GraphBuilder {
    zif_object header;
    zif_object *name;
    Graph *graph;  // not counted; null once the graph is gone
    double priority;
    intptr_t userData;
    zif_graphBuilderAddChoicesFunc addChoices;
    zif_graphBuilderApplyChoiceFunc applyChoice;
    zif_graphBuilderUndoChoiceFunc undoChoice;
    zif_graphBuilderDestroyFunc destroy;
};

struct Graph {
    zif_object header;
    uint64_t identity;  // names the graph in its log prefix and its dump
    GraphRemote remote;
    bool isSlave;
    zif_object *remoteFile;
    Node *nodes;  // newest first, each held with a reference
    int32_t nodeCount;
    int32_t finishedCount;
    bool working;
    bool building;
    std::vector<GraphBuilder *> builders;  // by descending priority, each held
    uint64_t changeCounter;
    zif_object *cachedSnapshot;
    uint64_t lastBuiltCounter;
    zif_object *log;
    SearchLevel *rootLevel;
    SearchChoice *currentChoice;
    bool applied;
    std::vector<zif_object *> visited;  // snapshots of states already reached
    int64_t searchStepLimit;
};

inline Graph *graphRecord(zif_object *o) { return reinterpret_cast<Graph *>(o); }
inline Node *nodeRecord(zif_object *o) { return reinterpret_cast<Node *>(o); }
inline Port *portRecord(zif_object *o) { return reinterpret_cast<Port *>(o); }
inline Connector *connectorRecord(zif_object *o) { return reinterpret_cast<Connector *>(o); }
inline GraphBuilder *builderRecord(zif_object *o) { return reinterpret_cast<GraphBuilder *>(o); }
inline zif_object *asObject(void *record) { return static_cast<zif_object *>(record); }

// The record when object is a live object of that kind, else null (error 4
// for another kind, error 2 for null).
Graph *graphOf(zif_object *object);
Node *nodeOf(zif_object *object);
Port *portOf(zif_object *object);
Connector *connectorOf(zif_object *object);
GraphBuilder *builderOf(zif_object *object);

// Raises the change counter and drops the cached snapshot.
void graphChanged(Graph *graph);

// The port with that ID among all nodes' ports, or null.
Port *graphFindPort(Graph *graph, uint64_t id);
// The node with that ID, or null.
Node *graphFindNode(Graph *graph, uint64_t id);

template <typename Visit>
void graphForEachPort(Graph *graph, Visit visit)
{
    for (Node *n = graph->nodes; n; n = n->next)
        for (Port *p = n->ports; p; p = p->next)
            visit(n, p);
}

inline int32_t portConnectorCount(const Port *port) { return static_cast<int32_t>(port->connectors.size()); }
inline bool portHasRoom(const Port *port)
{
    return port->maxConnections == -1 || portConnectorCount(port) < port->maxConnections;
}

// Adds a node or a port with a given ID (0: drawn from the context counter,
// or asked of the master on a slave graph). New reference, or null.
Node *graphAddNode(Graph *graph, const char *name, uint64_t id);
Port *nodeAddPort(Node *node, int32_t type, const char *name, uint64_t id);
// A detached port record with minimum and maximum 1 and a fresh description ID.
Port *portNew(zif_context *context, int32_t type, const char *name);

// A connector with an unlimited queue; id 0 draws one from the counter.
Connector *connectorNew(zif_context *context, uint64_t id);

// Sets a port's description without forwarding it to a master.
bool portStoreDescription(Port *port, zif_object *description);

// Closes a port to further connections (or opens it again).
void portSetClosed(Port *port, bool closed);

// zif_constraintsMatch for port descriptions, where a missing description
// constrains nothing: the other side (a clone) is the overlap, fully.
int32_t descriptionsMatch(zif_object *a, zif_object *b, zif_object **overlap);

// 1 when the two ports cannot be paired (same type, blocked), otherwise the
// grade of the input's description checked against the output's.
int32_t portCompatibility(Port *a, Port *b);

// Joins two ports with connectors of the given IDs (0: drawn from the counter).
bool graphConnect(Graph *graph, uint64_t portId1, uint64_t portId2, uint64_t connectorId1, uint64_t connectorId2);

// Destroys the connection of c; block pairs the two ports' description IDs
// in each other's block lists.
bool graphDisconnect(Graph *graph, Connector *c, bool block);

// Destroys every connection of the port without blocking.
void portDisconnectAll(Graph *graph, Port *port);

// Sets a node's finished-for-now flag without forwarding.
void nodeStoreFinished(Node *node, bool finished);

// Takes a node out of the graph (backtracking): connections destroyed,
// ports detached, the graph's reference released.
void graphRemoveNode(Graph *graph, Node *node);
void nodeRemovePort(Graph *graph, Node *node, Port *port);

// The search state's teardown (levels, choices, visited states).
void graphSearchRelease(Graph *graph);

// The snapshot of the current state, cached until the next change (borrowed).
zif_object *graphCurrentSnapshot(Graph *graph);
// Puts the graph back into the state of the snapshot; false (nothing
// changed) when something it records is gone.
bool graphRestore(Graph *graph, zif_object *snapshot);
// Equal states as the search sees them (IDs take no part).
bool snapshotsEqual(zif_object *a, zif_object *b);
uint64_t snapshotHash(zif_object *snapshot);

// A hash of a value that agrees with zif_valueEquals: equal values hash alike.
uint64_t valueHash(zif_object *value);

// The most apply steps one zif_graphBuild takes before it gives up.
constexpr int64_t kDefaultSearchStepLimit = 100000;
void graphSetSearchStepLimit(zif_object *graph, int64_t limit);

// Marks a graph as a slave's, forwarding through remote; the graph keeps a
// reference to file (the pipe) until it goes away.
void graphMakeSlave(zif_object *graph, const GraphRemote &remote, zif_object *file);

}  // namespace zif
