// Intervals: two number bounds (either may be missing) and which are excluded.
#include "framework/core/value.h"

namespace {

void intervalDestroy(zif_object *object)
{
    auto *interval = reinterpret_cast<zif::IntervalValue *>(object);
    zif_release(interval->lower);
    zif_release(interval->upper);
}

zif::IntervalValue *interval(zif_object *o) { return reinterpret_cast<zif::IntervalValue *>(o); }

}  // namespace

extern "C" {

zif_object *zif_newInterval(zif_context *context, int32_t kind, zif_object *lower, zif_object *upper)
{
    if (static_cast<uint32_t>(kind) > ZIF_INTERVAL_EE || (lower && !zif::isNumber(lower)) ||
        (upper && !zif::isNumber(upper))) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    auto *v = zif::objectNew<zif::IntervalValue>(context, ZIF_TYPE_INTERVAL, intervalDestroy);
    if (!v)
        return nullptr;
    v->kind = kind;
    v->lowerExclusive = (kind == ZIF_INTERVAL_EI || kind == ZIF_INTERVAL_EE) ? -1 : 0;
    v->upperExclusive = (kind == ZIF_INTERVAL_IE || kind == ZIF_INTERVAL_EE) ? 1 : 0;
    v->lower = zif_addRef(lower);
    v->upper = zif_addRef(upper);
    return reinterpret_cast<zif_object *>(v);
}

int32_t zif_intervalGetType(zif_object *o) { return interval(o)->kind; }

zif_object *zif_intervalGetLowerBound(zif_object *o) { return zif::isValid(o) ? zif_addRef(interval(o)->lower) : nullptr; }

zif_object *zif_intervalGetUpperBound(zif_object *o) { return zif::isValid(o) ? zif_addRef(interval(o)->upper) : nullptr; }

}  // extern "C"
