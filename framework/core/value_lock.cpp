// Lock counts: a value handed over is locked; a locked table passes the lock
// on to everything nested inside it as an inherited count.
#include "framework/core/container.h"

namespace zif {

namespace {

void contentsInheritLocks(zif_object *container, int32_t delta)
{
    containerForEach(container, [delta](zif_object *child) { valueInheritLocks(child, delta); });
}

}  // namespace

bool checkModifiable(zif_object *value)
{
    if (isLocked(value)) {
        fail(value->context, ZIF_ERR_LOCKED);
        return false;
    }
    return true;
}

void valueInheritLocks(zif_object *value, int32_t delta)
{
    if (delta == 0 || !isValid(value) || !isValueType(value->type))
        return;
    asValueRecord(value)->inheritedLocks += delta;
    contentsInheritLocks(value, delta);
}

int32_t containerLockContribution(zif_object *container)
{
    Value *v = asValueRecord(container);
    return v->inheritedLocks + (container->type == ZIF_TYPE_TABLE ? v->ownLocks : 0);
}

void valueLock(zif_object *value)
{
    if (!isValid(value) || !isValueType(value->type))
        return;
    ++asValueRecord(value)->ownLocks;
    if (value->type == ZIF_TYPE_TABLE)
        contentsInheritLocks(value, 1);
}

void valueUnlockOnce(zif_object *value)
{
    if (!isValid(value) || !isValueType(value->type) || asValueRecord(value)->ownLocks <= 0)
        return;
    --asValueRecord(value)->ownLocks;
    if (value->type == ZIF_TYPE_TABLE)
        contentsInheritLocks(value, -1);
}

bool valueClearOwnLock(zif_object *value)
{
    Value *v = asValueRecord(value);
    if (value->refCount > 1 || v->inheritedLocks > 0) {
        fail(value->context, ZIF_ERR_SHARED);
        return false;
    }
    int32_t cleared = v->ownLocks;
    v->ownLocks = 0;
    if (value->type == ZIF_TYPE_TABLE)
        contentsInheritLocks(value, -cleared);
    return true;
}

}  // namespace zif

extern "C" {

int32_t zif_valueIsLocked(zif_object *value)
{
    return zif::isValid(value) && zif::isValueType(value->type) && zif::isLocked(value);
}

int32_t zif_valueUnlock(zif_object *value)
{
    if (!value)
        return 1;
    if (!zif_asValue(value))
        return 0;
    return zif::valueClearOwnLock(value);
}

int32_t zif_valueMakeModifiable(zif_object **value)
{
    if (!value || !*value)
        return 1;
    zif_object *v = zif_asValue(*value);
    if (!v)
        return 0;
    if (v->refCount > 1 || zif::asValueRecord(v)->inheritedLocks > 0) {
        // Someone else may see this value: work on a private copy.
        zif::fail(v->context, ZIF_ERR_SHARED);
        zif_object *copy = nullptr;
        if (!zif_valueClone(v, &copy))
            return 0;
        zif_release(v);
        *value = copy;
        return 1;
    }
    return zif::valueClearOwnLock(v);
}

}  // extern "C"
