// Reference counting, the object header checks and the typed casts.
#include "framework/core/object.h"
#include "framework/core/value.h"

#include <cstring>

namespace zif {

namespace {

void destroyNothing(zif_object *) {}

}  // namespace

zif_object *objectNew(zif_context *context, int32_t type, int32_t size, DestroyFunction destroy)
{
    auto *object = static_cast<zif_object *>(zif_zalloc(context, size));
    if (!object) {
        fail(context, ZIF_ERR_NO_MEMORY);
        return nullptr;
    }
    std::memcpy(object->magic, kMagic, sizeof kMagic);
    object->context = context;
    object->type = type;
    object->refCount = 1;
    object->size = size;
    object->destroy = destroy ? destroy : destroyNothing;
    return object;
}

zif_object *cast(zif_object *object, int32_t type)
{
    if (!isValid(object))
        return nullptr;
    if (object->type != type) {
        fail(object->context, ZIF_ERR_WRONG_TYPE);
        return nullptr;
    }
    return object;
}

}  // namespace zif

extern "C" {

zif_object *zif_addRef(zif_object *object)
{
    if (zif::isValid(object))
        ++object->refCount;
    return object;
}

int32_t zif_release(zif_object *object)
{
    if (!zif::isValid(object))
        return -1;
    int32_t count = --object->refCount;
    if (count == 0) {
        zif_context *context = object->context;
        object->destroy(object);
        // A released object no longer passes the header check.
        std::memset(object->magic, 0, sizeof object->magic);
        zif_free(context, object);
    }
    return count;
}

zif_context *zif_objectGetContext(zif_object *object) { return zif::isValid(object) ? object->context : nullptr; }

int32_t zif_objectGetType(zif_object *object) { return zif::isValid(object) ? object->type : 0; }

int32_t zif_objectIsValue(zif_object *object) { return zif::isValid(object) && zif::isValueType(object->type); }

int32_t zif_objectIsNumber(zif_object *object) { return object && zif::isNumberType(object->type); }

zif_object *zif_asValue(zif_object *object)
{
    if (!zif::isValid(object))
        return nullptr;
    if (!zif::isValueType(object->type)) {
        zif::fail(object->context, ZIF_ERR_WRONG_TYPE);
        return nullptr;
    }
    return object;
}

zif_object *zif_asInt(zif_object *object) { return zif::cast(object, ZIF_TYPE_INT); }
zif_object *zif_asDouble(zif_object *object) { return zif::cast(object, ZIF_TYPE_DOUBLE); }
zif_object *zif_asFract(zif_object *object) { return zif::cast(object, ZIF_TYPE_FRACT); }
zif_object *zif_asString(zif_object *object) { return zif::cast(object, ZIF_TYPE_STRING); }
zif_object *zif_asInterval(zif_object *object) { return zif::cast(object, ZIF_TYPE_INTERVAL); }
zif_object *zif_asData(zif_object *object) { return zif::cast(object, ZIF_TYPE_DATA); }
zif_object *zif_asTable(zif_object *object) { return zif::cast(object, ZIF_TYPE_TABLE); }
zif_object *zif_asList(zif_object *object) { return zif::cast(object, ZIF_TYPE_LIST); }

}  // extern "C"
