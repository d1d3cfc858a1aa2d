// The header every framework object starts with, and its creation.
#pragma once

#include "framework/core/context.h"

namespace zif {

constexpr uint8_t kMagic[4] = {0x31, 0x97, 0xF2, 0xA0};

using DestroyFunction = void (*)(zif_object *object);

}  // namespace zif

struct zif_object {
    uint8_t magic[4];
    zif_context *context;
    int32_t type;
    int32_t refCount;
    int32_t size;
    zif::DestroyFunction destroy;
};

namespace zif {

inline bool isValid(const zif_object *object)
{
    return object && object->magic[0] == kMagic[0] && object->magic[1] == kMagic[1] &&
           object->magic[2] == kMagic[2] && object->magic[3] == kMagic[3];
}

// Allocates a zeroed object of `size` bytes from the context with count 1.
// A null destroy becomes a no-op. Records error 1 and returns null on failure.
zif_object *objectNew(zif_context *context, int32_t type, int32_t size, DestroyFunction destroy);

template <typename T>
T *objectNew(zif_context *context, int32_t type, DestroyFunction destroy)
{
    return reinterpret_cast<T *>(objectNew(context, type, static_cast<int32_t>(sizeof(T)), destroy));
}

// The object when it is valid and of the given type, else null; records
// error 4 for a valid object of another type.
zif_object *cast(zif_object *object, int32_t type);

}  // namespace zif
