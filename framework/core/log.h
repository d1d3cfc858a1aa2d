// Internal access to logs: parent forwarding, the clock, the context log.
#pragma once

#include "framework/core/object.h"

#include <ctime>

namespace zif {

// Every entry added to log is passed to parent first, with prefix put in
// front of its source. The log keeps a reference to the parent.
bool logSetParent(zif_object *log, zif_object *parent, const char *prefix);

// Where a log in a slave process sends its entries instead of keeping them:
// send returns 0 on success or the error code to record.
using LogRemoteSend = int32_t (*)(void *user, int32_t level, const char *source, const char *message);
void logSetRemote(zif_object *log, LogRemoteSend send, void *user);

// Replaces the clock that stamps new entries (seconds since 1970 UTC).
using LogClock = int64_t (*)();
void logSetClock(zif_object *log, LogClock clock);

bool contextLogAttach(zif_context *context);
void contextLogDetach(zif_context *context);

}  // namespace zif
