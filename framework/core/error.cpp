// The context's last error code.
#include "framework/core/context.h"

namespace zif {

void fail(zif_context *context, int32_t code)
{
    if (context)
        context->lastError = code;
}

}  // namespace zif

extern "C" {

int32_t zif_getLastError(zif_context *context) { return context ? context->lastError : 0; }

int32_t zif_setLastError(zif_context *context, int32_t code)
{
    zif::fail(context, code);
    return code;
}

zif_context *zif_clearLastError(zif_context *context)
{
    zif::fail(context, 0);
    return context;
}

}  // extern "C"
