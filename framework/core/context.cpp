// Creating and destroying a context, and its ID counter.
#include "framework/core/context.h"
#include "framework/core/context_parts.h"

#include <cstdlib>
#include <new>

namespace {

zif_context *contextAllocate()
{
    auto *context = static_cast<zif_context *>(std::calloc(1, sizeof(zif_context)));
    if (context)
        context->idCounter = 1;
    return context;
}

// Detaches the parts attached so far, newest first, then frees the record.
void contextTearDown(zif_context *context, size_t attachedParts)
{
    while (attachedParts > 0)
        zif::kContextParts[--attachedParts].detach(context);
    zif::keysRelease(context);
    zif::allocatorReleaseCache(context);
    std::free(context);
}

}  // namespace

extern "C" {

int32_t zif_create(zif_context **result)
{
    if (!result)
        return ZIF_ERR_INVALID_ARGUMENT;
    *result = nullptr;
    zif_context *context = contextAllocate();
    if (!context)
        return ZIF_ERR_NO_MEMORY;
    if (int32_t code = zif::keysInit(context)) {
        contextTearDown(context, 0);
        return code;
    }
    for (size_t i = 0; i < zif::kContextPartCount; ++i) {
        if (!zif::kContextParts[i].attach(context)) {
            int32_t code = context->lastError ? context->lastError : ZIF_ERR_NO_MEMORY;
            contextTearDown(context, i);
            return code;
        }
    }
    *result = context;
    return 0;
}

void zif_destroy(zif_context *context)
{
    if (context)
        contextTearDown(context, zif::kContextPartCount);
}

uint64_t zif_newID(zif_context *context) { return context ? context->idCounter++ : 0; }

}  // extern "C"
