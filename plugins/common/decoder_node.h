// The node skeleton every decoder plug-in builds: a node named after the
// plug-in with its command port, and the optional output port of a stream.
#pragma once

#include "framework/include/zif.h"

#include <string>

namespace plugins {

// Adds to graph the node of the decoder plug-in name: named so, with the
// destroy and work functions, and its port "<name>.commandin", which takes
// exactly one "read" command (commandPortDescription, checked by
// commandPortAcceptsPartner) and calls onCommand when it connects.
// The node (new reference), or null.
zif_object *decoderNodeAdd(zif_object *graph, const std::string &name, zif_nodeDestroyFunc destroy,
                           zif_nodeWorkFunc work, zif_portOnConnectFunc onCommand);

// Adds to a decoder node the output port of one stream: its description,
// no connection required, the stream as user data and onConnect. False on
// failure.
bool decoderOutputAdd(zif_object *node, const std::string &name, zif_object *description, intptr_t stream,
                      zif_portOnConnectFunc onConnect);

}  // namespace plugins
