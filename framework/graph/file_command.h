// What the file reader and writer share: finding static command ports that
// ask for them, serving one with a new node, and checking the file URI.
#pragma once

#include "framework/core/object.h"

namespace zif {

// Creates the serving node with its command input port; returns the port
// with a new reference, or null.
using FileNodeCreate = zif_object *(*)(zif_object *graph);

// What makes a file reader or writer node: its kind, its command input and
// the command that input serves, its state and its callbacks.
struct FileNodeKind {
    const char *kind;
    const char *commandPort;
    const char *command;
    intptr_t (*newState)();
    zif_nodeDestroyFunc destroy;
    zif_nodeWorkFunc work;
    zif_portOnConnectFunc commandConnect;
};

// Adds a node of that kind to the graph with its command input port;
// returns the port with a new reference, or null.
zif_object *fileNodeCreate(zif_object *graph, const FileNodeKind &kind);

// Proposes {"commandpartner": port ID} for every output port with room
// whose description matches {"portclass": "staticcommand", "command": command}.
int32_t fileCommandAddChoices(zif_object *builder, zif_object *graph, const char *command);

// Creates the node and connects its command port to the command partner.
int32_t fileCommandApply(zif_object *graph, zif_object *choice, FileNodeCreate create);

// A command port's description: {"portclass": "staticcommand", "command": command}.
zif_object *fileCommandTemplate(zif_context *context, const char *command);

// Request-connect of a command input: the partner names a "uri" string
// without scheme or with the scheme "file".
int32_t fileCommandRequestConnect(zif_object *port, zif_object *partnerDescription);

// The local path of the partner's "uri" (new reference), or null with error
// 23 when there is none.
zif_object *fileCommandPath(zif_object *port, zif_object *connector);

}  // namespace zif
