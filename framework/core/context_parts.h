// The parts a context is assembled from after its allocator and key table:
// the context log, then the plug-in list with the built-in plug-ins. They
// attach in this order at creation and detach in the reverse order.
#pragma once

#include "framework/core/context.h"

namespace zif {

struct ContextPart {
    const char *name;
    bool (*attach)(zif_context *context);  // false (with the last error set) fails zif_create
    void (*detach)(zif_context *context);
};

extern const ContextPart kContextParts[];
extern const size_t kContextPartCount;

}  // namespace zif
