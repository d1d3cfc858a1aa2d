// Deep copies of values; a clone is unlocked and has one reference.
#include "framework/core/container.h"

#include <cstring>

namespace {

zif_object *cloneOf(zif_object *value);

zif_object *cloneInterval(zif_object *value)
{
    auto *v = reinterpret_cast<zif::IntervalValue *>(value);
    zif_object *lower = v->lower ? cloneOf(v->lower) : nullptr;
    zif_object *upper = v->upper ? cloneOf(v->upper) : nullptr;
    zif_object *clone = nullptr;
    if ((lower || !v->lower) && (upper || !v->upper))
        clone = zif_newInterval(value->context, v->kind, lower, upper);
    zif_release(lower);
    zif_release(upper);
    return clone;
}

zif_object *cloneData(zif_object *value)
{
    auto *v = reinterpret_cast<zif::DataValue *>(value);
    zif_object *clone = zif_newData(value->context, v->allocated);
    if (!clone)
        return nullptr;
    if (v->size > 0)
        std::memcpy(zif_dataGetWritePtr(clone), v->buffer, static_cast<size_t>(v->size));
    reinterpret_cast<zif::DataValue *>(clone)->size = v->size;
    return clone;
}

// Entries that cannot be cloned (null entries among them) are left out.
zif_object *cloneTable(zif_object *value)
{
    zif_object *clone = zif_newTable(value->context);
    if (!clone)
        return nullptr;
    bool ok = true;
    zif::tableForEach(zif::tableRecord(value), [&](int32_t key, zif_object *entry) {
        zif_object *entryClone = entry ? cloneOf(entry) : nullptr;
        if (entryClone && !zif_tableSetK(clone, key, entryClone))
            ok = false;
        zif_release(entryClone);
    });
    if (!ok) {
        zif_release(clone);
        return nullptr;
    }
    return clone;
}

// Fails as a whole when any element (a null one too) cannot be cloned.
zif_object *cloneList(zif_object *value)
{
    zif_object *clone = zif_newList(value->context);
    if (!clone)
        return nullptr;
    bool ok = true;
    zif::listForEach(zif::listRecord(value), [&](zif_object *element) {
        if (!ok)
            return;
        zif_object *elementClone = element ? cloneOf(element) : nullptr;
        ok = elementClone && zif_listAdd(clone, elementClone);
        zif_release(elementClone);
    });
    if (!ok) {
        zif_release(clone);
        return nullptr;
    }
    return clone;
}

zif_object *cloneOf(zif_object *value)
{
    if (!zif::isValid(value) || !zif::isValueType(value->type)) {
        zif::fail(zif::isValid(value) ? value->context : nullptr, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    zif_context *context = value->context;
    switch (value->type) {
    case ZIF_TYPE_INT: return zif_newInt(context, zif_intGetValue(value));
    case ZIF_TYPE_DOUBLE: return zif_newDouble(context, zif_doubleGetValue(value));
    case ZIF_TYPE_FRACT:
        return zif_newFract(context, zif_fractGetIntegralPart(value), zif_fractGetNumerator(value), zif_fractGetDenominator(value));
    case ZIF_TYPE_STRING: return zif_newString(context, zif_stringGetValue(value));
    case ZIF_TYPE_INTERVAL: return cloneInterval(value);
    case ZIF_TYPE_DATA: return cloneData(value);
    case ZIF_TYPE_TABLE: return cloneTable(value);
    default: return cloneList(value);
    }
}

}  // namespace

extern "C" int32_t zif_valueClone(zif_object *value, zif_object **clone)
{
    if (!clone)
        return 0;
    *clone = cloneOf(value);
    return *clone != nullptr;
}
