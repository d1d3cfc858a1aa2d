// Data values: a 16-byte aligned byte buffer with an allocated and a used size.
#include "framework/core/value.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kBufferAlignment = 16;

zif::DataValue *data(zif_object *o) { return reinterpret_cast<zif::DataValue *>(o); }

void dataDestroy(zif_object *object) { zif_freeAligned(object->context, data(object)->buffer); }

// Common checks of the data setters: a valid object, n >= 0, not locked.
bool dataCheckChange(zif_object *object, int32_t n)
{
    if (!zif::isValid(object))
        return false;
    if (n < 0) {
        zif::fail(object->context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    return zif::checkModifiable(object);
}

}  // namespace

extern "C" {

zif_object *zif_newData(zif_context *context, int32_t size)
{
    if (size < 0) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    auto *v = zif::objectNew<zif::DataValue>(context, ZIF_TYPE_DATA, dataDestroy);
    if (!v)
        return nullptr;
    if (size > 0) {
        v->buffer = static_cast<uint8_t *>(zif_allocAligned(context, size, kBufferAlignment));
        if (!v->buffer) {
            zif_release(reinterpret_cast<zif_object *>(v));
            return nullptr;
        }
    }
    v->allocated = size;
    v->size = size;
    return reinterpret_cast<zif_object *>(v);
}

const uint8_t *zif_dataGetReadPtr(zif_object *o) { return data(o)->buffer; }

uint8_t *zif_dataGetWritePtr(zif_object *o)
{
    if (!zif::isValid(o) || !zif::checkModifiable(o))
        return nullptr;
    return data(o)->buffer;
}

int32_t zif_dataGetSize(zif_object *o) { return data(o)->size; }

int32_t zif_dataGetAllocated(zif_object *o) { return data(o)->allocated; }

int32_t zif_dataAlloc(zif_object *o, int32_t n)
{
    if (!dataCheckChange(o, n))
        return 0;
    zif::DataValue *d = data(o);
    uint8_t *buffer = nullptr;
    if (n > 0) {
        buffer = static_cast<uint8_t *>(zif_allocAligned(o->context, n, kBufferAlignment));
        if (!buffer)
            return 0;
    }
    int32_t kept = std::min(d->size, n);
    if (kept > 0)
        std::memcpy(buffer, d->buffer, static_cast<size_t>(kept));
    zif_freeAligned(o->context, d->buffer);
    d->buffer = buffer;
    d->size = kept;
    d->allocated = n;
    return 1;
}

int32_t zif_dataEnsureAllocated(zif_object *o, int32_t n)
{
    if (!dataCheckChange(o, n))
        return 0;
    return data(o)->allocated >= n ? 1 : zif_dataAlloc(o, n);
}

int32_t zif_dataSetSize(zif_object *o, int32_t n)
{
    if (!zif_dataEnsureAllocated(o, n))
        return 0;
    data(o)->size = n;
    return 1;
}

int32_t zif_dataSetContents(zif_object *o, const void *bytes, int32_t n)
{
    if (!dataCheckChange(o, n))
        return 0;
    if (n > 0 && !bytes) {
        zif::fail(o->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    zif::DataValue *d = data(o);
    int32_t oldSize = d->size;
    d->size = 0;
    if (!zif_dataEnsureAllocated(o, n)) {
        d->size = oldSize;
        return 0;
    }
    if (n > 0)
        std::memcpy(d->buffer, bytes, static_cast<size_t>(n));
    d->size = n;
    return 1;
}

int32_t zif_dataClear(zif_object *o)
{
    if (!zif::isValid(o) || !zif::checkModifiable(o))
        return 0;
    data(o)->size = 0;
    return 1;
}

}  // extern "C"
