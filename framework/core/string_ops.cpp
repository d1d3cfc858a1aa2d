// Plain NUL-terminated string helpers that allocate from the context.
#include "framework/core/context.h"

#include <cstring>

namespace {

// Length of text, or -1 with error 2 when it does not fit an int32 block.
int32_t checkedLength(zif_context *context, const char *text, int32_t length)
{
    size_t n = length == -1 ? std::strlen(text) : static_cast<size_t>(length);
    if (n >= INT32_MAX) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return -1;
    }
    return static_cast<int32_t>(n);
}

}  // namespace

extern "C" {

char *zif_copyStringN(zif_context *context, const char *text, int32_t length)
{
    if (!context)
        return nullptr;
    if (!text || length < -1) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    int32_t n = checkedLength(context, text, length);
    if (n < 0)
        return nullptr;
    auto *copy = static_cast<char *>(zif_alloc(context, n + 1));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text, static_cast<size_t>(n));
    copy[n] = '\0';
    return copy;
}

char *zif_copyString(zif_context *context, const char *text) { return zif_copyStringN(context, text, -1); }

char *zif_concatStrings(zif_context *context, const char *a, const char *b)
{
    if (!context)
        return nullptr;
    if (!a || !b) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    int32_t la = checkedLength(context, a, -1);
    int32_t lb = checkedLength(context, b, -1);
    if (la < 0 || lb < 0 || la > INT32_MAX - 1 - lb) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    auto *joined = static_cast<char *>(zif_alloc(context, la + lb + 1));
    if (!joined)
        return nullptr;
    std::memcpy(joined, a, static_cast<size_t>(la));
    std::memcpy(joined + la, b, static_cast<size_t>(lb) + 1);
    return joined;
}

int32_t zif_concatStringsR(zif_context *context, char **text, const char *b)
{
    if (!context)
        return 0;
    if (!text || !b) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    char *joined = *text ? zif_concatStrings(context, *text, b) : zif_copyString(context, b);
    if (!joined)
        return 0;
    zif_free(context, *text);
    *text = joined;
    return 1;
}

}  // extern "C"
