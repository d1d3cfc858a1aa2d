// The command side every decoder node shares: the description of its
// "commandin" port (it takes the static command node's "read" command), the
// check that the command names a local file, and the request read from the
// command partner when the port connects.
#pragma once

#include "framework/include/zif.h"

#include <string>

namespace plugins {

// {"portclass": "staticcommand", "command": "read"}; a new reference or null.
zif_object *commandPortDescription(zif_context *context);

// Request-connect check of a command port: a "uri" must be a string that
// parses and has no scheme or the scheme "file". A partner without "uri" is
// accepted; decodeRequestRead then fails it with error 23. 1 accepts, 0 refuses.
int32_t commandPortAcceptsPartner(zif_object *port, zif_object *partnerDescription);

// What the command partner asks a decoder for.
struct DecodeRequest {
    std::string uri;
    std::string path;         // the local file the uri names
    double startTime = 0;     // "decodestarttime", seconds
    double endTime = -1;      // "decodeendtime", seconds; negative: to the end
    bool wantVideo = true;    // "wantvideo"
    bool wantAudio = true;    // "wantaudio"

    bool hasEnd() const { return endTime >= 0; }
};

// Reads the request from the partner description of the command connector.
// Missing "uri": error 23; a uri that names no local file: the framework's
// conversion error. Returns false on failure.
bool decodeRequestRead(zif_object *connector, DecodeRequest *request);

}  // namespace plugins
