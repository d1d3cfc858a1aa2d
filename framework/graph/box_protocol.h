// The pipe protocol between a master graph and the slave process that runs
// its boxed nodes: message codes, the shared queue push and offer, and the
// master's proxies.
#pragma once

#include "framework/graph/graph_types.h"

namespace zif {

// Commands, master to slave.
enum BoxCommand : int32_t {
    kCommandLoadModule = 0,
    kCommandCreateNode = 1,
    kCommandNodeWork = 2,
    kCommandPortWork = 3,
    kCommandRequestConnect = 4,
    kCommandOnConnect = 5,
    kCommandConnectorWork = 6,
    kCommandQueueOffer = 7,
    kCommandEnd = 8,
};

// Requests, slave to master, served while the master awaits a reply.
enum BoxRequest : int32_t {
    kRequestEnd = 0,
    kRequestNewNode = 1,
    kRequestNewPort = 2,
    kRequestSetDescription = 3,
    kRequestQueueOffer = 4,
    kRequestSetFinished = 5,
    kRequestSetDebugText = 6,
    kRequestSetMinConnections = 7,
    kRequestSetMaxConnections = 8,
    kRequestLog = 9,
};

// Connector queues on both sides of the pipe hold at most this many samples.
constexpr int32_t kBoxQueueMax = 2;

// One pipe to a slave, shared by every proxy that forwards through it. The
// last release ends the slave's run (command 8) and closes the pipe.
struct BoxChannel {
    int32_t refs;
    zif_object *pipe;
};
BoxChannel *boxChannelNew(zif_object *pipe);  // takes over the pipe's reference
BoxChannel *boxChannelRetain(BoxChannel *channel);
void boxChannelRelease(BoxChannel *channel);

// Sends the samples queued on the connectors of node's ports of the given
// type, one offer (code) at a time, until the receiver has no room.
bool boxQueuePush(zif_object *pipe, Node *node, int32_t portType, int32_t code);
// Answers an offer for the connector named by the IDs that follow on the
// pipe (error 22 when there is none, or when proxiesOf is given and the node
// is not one of its proxies): 1 and the sample, or 0.
bool boxQueueOffer(zif_object *pipe, Graph *graph, BoxChannel *proxiesOf);

// Master side: serves the slave's requests until the end marker, then reads
// the status of the awaited reply and fails with it when it is not 0.
bool boxAwaitReply(BoxChannel *channel, Graph *graph);

// Master side: a node of the master graph standing for one in the slave.
Node *boxProxyNodeNew(BoxChannel *channel, Graph *graph, const char *name);
Port *boxProxyPortNew(BoxChannel *channel, Node *node, int32_t type, const char *name);
// True for a proxy node forwarding through channel.
bool boxIsProxyOf(Node *node, BoxChannel *channel);

// A fresh zif_slv connected to the master: its pipe file (read semaphore
// and partner set, terminated on close) or null with error 37, 32, 30 or 38.
zif_object *boxStartSlave(Graph *graph);

// The longest wait for the slave: 60 s, or $ZIF_SLV_TIMEOUT_MS.
int32_t boxTimeoutMs();

}  // namespace zif
