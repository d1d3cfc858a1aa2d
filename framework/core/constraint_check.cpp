// Grading how well a value meets a constraint (lists of alternatives,
// intervals, tables of constraints).
#include "framework/core/container.h"
#include "framework/core/interval_bounds.h"

namespace {

constexpr int32_t kNoMatch = 1;
constexpr int32_t kPartial = 2;
constexpr int32_t kFull = 3;

int32_t checkList(zif_object *c, zif_object *v)
{
    int32_t best = kNoMatch;
    zif::ListValue *list = zif::listRecord(c);
    for (zif_list_link *l = list->head.next; l != &list->tail; l = l->next) {
        int32_t g = zif_constraintCheck(l->object, v);
        if (g == kFull)
            return kFull;
        if (g == kPartial)
            best = kPartial;
    }
    return best;
}

// Interval v inside interval c: full; overlapping it: partial.
int32_t checkIntervals(zif_object *c, zif_object *v)
{
    using zif::Bound;
    Bound cLower = zif::lowerBound(c), cUpper = zif::upperBound(c);
    Bound vLower = zif::lowerBound(v), vUpper = zif::upperBound(v);
    int cL = zif::compareBounds(cLower, vLower);
    int cU = zif::compareBounds(cUpper, vUpper);
    int cX = zif::compareBounds(cUpper, vLower);
    int cY = zif::compareBounds(cLower, vUpper);
    bool lowerInside = cL < 0 || (cL == 0 && (vLower.excluded || !cLower.excluded));
    bool upperInside = cU > 0 || (cU == 0 && (vUpper.excluded || !cUpper.excluded));
    if (lowerInside && upperInside)
        return kFull;
    bool cLowerInV = (cL > 0 || (cL == 0 && !cLower.excluded && !vLower.excluded)) &&
                     (cY < 0 || (cY == 0 && !cLower.excluded && !vUpper.excluded));
    bool cUpperInV = (cX > 0 || (cX == 0 && !cUpper.excluded && !vLower.excluded)) &&
                     (cU < 0 || (cU == 0 && !cUpper.excluded && !vUpper.excluded));
    return cLowerInV || cUpperInV ? kPartial : kNoMatch;
}

int32_t checkTables(zif_object *c, zif_object *v)
{
    int32_t grade = kFull;
    bool stop = false;
    zif::TableValue *values = zif::tableRecord(v);
    zif::tableForEach(zif::tableRecord(c), [&](int32_t key, zif_object *constraint) {
        if (stop)
            return;
        zif::TableEntry *e = zif::tableFind(values, key);
        if (!e)
            zif::fail(v->context, ZIF_ERR_NOT_FOUND);
        if (!e || !e->object) {
            grade = kPartial;
            return;
        }
        int32_t g = zif_constraintCheck(constraint, e->object);
        if (g == kNoMatch) {
            grade = kNoMatch;
            stop = true;
        } else if (g == kPartial) {
            grade = kPartial;
        }
    });
    return grade;
}

bool isScalarValue(int32_t type) { return zif::isNumberType(type) || type == ZIF_TYPE_STRING || type == ZIF_TYPE_DATA; }

}  // namespace

extern "C" int32_t zif_constraintCheck(zif_object *c, zif_object *v)
{
    if (!c)
        return kFull;  // no constraint admits everything
    if (!zif::isValid(c) || !zif::isValueType(c->type))
        return kNoMatch;
    if (c->type == ZIF_TYPE_LIST)
        return checkList(c, v);
    if (!zif::isValid(v) || !zif::isValueType(v->type))
        return kNoMatch;
    bool sameKind = c->type == v->type || (zif::isNumberType(c->type) && zif::isNumberType(v->type));
    if (sameKind && isScalarValue(v->type))
        return zif_valueEquals(c, v) ? kFull : kNoMatch;
    if (c->type == ZIF_TYPE_INTERVAL && zif::isNumberType(v->type))
        return zif::intervalContains(c, v) ? kFull : kNoMatch;
    if (c->type == ZIF_TYPE_INTERVAL && v->type == ZIF_TYPE_INTERVAL)
        return checkIntervals(c, v);
    if (c->type == ZIF_TYPE_TABLE && v->type == ZIF_TYPE_TABLE)
        return checkTables(c, v);
    return kNoMatch;
}
