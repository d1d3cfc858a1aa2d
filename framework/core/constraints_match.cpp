// Grading how well two descriptions fit, and computing their overlap: the
// most specific description both sides agree on.
#include "framework/core/container.h"
#include "framework/core/interval_bounds.h"

namespace {

constexpr int32_t kFailure = 0;
constexpr int32_t kNoMatch = 1;
constexpr int32_t kPartial = 2;
constexpr int32_t kFull = 3;

// The grade of a clone of value as overlap; a failed clone is a failure.
int32_t withClone(zif_object *value, int32_t grade, zif_object **overlap)
{
    return zif_valueClone(value, overlap) ? grade : kFailure;
}

int32_t intervalKind(bool lowerExcluded, bool upperExcluded)
{
    return (lowerExcluded ? 2 : 0) + (upperExcluded ? 1 : 0);
}

int32_t matchIntervals(zif_object *a, zif_object *b, zif_object **overlap)
{
    using zif::Bound;
    Bound aLower = zif::lowerBound(a), aUpper = zif::upperBound(a);
    Bound bLower = zif::lowerBound(b), bUpper = zif::upperBound(b);
    int above = zif::compareBounds(aLower, bUpper);
    int below = zif::compareBounds(aUpper, bLower);
    if (above > 0 || (above == 0 && (aLower.excluded || bUpper.excluded)) || below < 0 ||
        (below == 0 && (aUpper.excluded || bLower.excluded)))
        return kNoMatch;

    int lowers = zif::compareBounds(aLower, bLower);
    int uppers = zif::compareBounds(aUpper, bUpper);
    // On equal bounds the excluded one wins: b's lower, a's upper when alike.
    const Bound &lower = lowers > 0 ? aLower : lowers < 0 ? bLower : (aLower.excluded && !bLower.excluded ? aLower : bLower);
    const Bound &upper = uppers < 0 ? aUpper : uppers > 0 ? bUpper : (bUpper.excluded && !aUpper.excluded ? bUpper : aUpper);
    *overlap = zif_newInterval(a->context, intervalKind(lower.excluded, upper.excluded), lower.value, upper.value);
    if (!*overlap)
        return kFailure;
    bool same = lowers == 0 && uppers == 0 && zif::intervalRecord(a)->kind == zif::intervalRecord(b)->kind;
    return same ? kFull : kPartial;
}

// Every element of a needs a match in b (the first full one, else the first
// partial one); the overlap lists those matches in a's order.
int32_t matchLists(zif_object *a, zif_object *b, zif_object **overlap)
{
    zif_object *result = zif_newList(a->context);
    if (!result)
        return kFailure;
    int32_t grade = kFull;
    zif::ListValue *as = zif::listRecord(a);
    zif::ListValue *bs = zif::listRecord(b);
    for (zif_list_link *x = as->head.next; x != &as->tail && grade > kNoMatch; x = x->next) {
        zif_object *best = nullptr;
        int32_t bestGrade = kNoMatch;
        for (zif_list_link *y = bs->head.next; y != &bs->tail && bestGrade != kFull; y = y->next) {
            zif_object *o = nullptr;
            int32_t g = zif_constraintsMatch(x->object, y->object, &o);
            if (g == kFailure) {
                bestGrade = kFailure;
                zif_release(o);
                break;
            }
            if (g > bestGrade) {
                zif_release(best);
                best = o;
                bestGrade = g;
            } else {
                zif_release(o);
            }
        }
        if (bestGrade <= kNoMatch) {
            grade = bestGrade;
        } else {
            if (!zif_listAdd(result, best))
                grade = kFailure;
            if (bestGrade == kPartial && grade == kFull)
                grade = kPartial;
        }
        zif_release(best);
    }
    if (grade >= kPartial)
        *overlap = result;
    else
        zif_release(result);
    return grade;
}

// The list's elements in order against the other value: first full match,
// else first partial match. listFirst keeps the two sides in their order.
int32_t matchListWithValue(zif_object *list, zif_object *other, bool listFirst, zif_object **overlap)
{
    zif_object *best = nullptr;
    int32_t bestGrade = kNoMatch;
    zif::ListValue *l = zif::listRecord(list);
    for (zif_list_link *e = l->head.next; e != &l->tail && bestGrade != kFull; e = e->next) {
        zif_object *o = nullptr;
        int32_t g = listFirst ? zif_constraintsMatch(e->object, other, &o) : zif_constraintsMatch(other, e->object, &o);
        if (g == kFailure) {
            zif_release(o);
            zif_release(best);
            return kFailure;
        }
        if (g > bestGrade) {
            zif_release(best);
            best = o;
            bestGrade = g;
        } else {
            zif_release(o);
        }
    }
    if (bestGrade >= kPartial)
        *overlap = best;
    return bestGrade;
}

zif_object *entryValue(zif::TableValue *table, int32_t key)
{
    zif::TableEntry *e = zif::tableFind(table, key);
    return e ? e->object : nullptr;
}

// Keys on both sides are matched; a key on one side only (or holding null
// on the other) is carried over as a clone and makes the match partial. An
// entry holding null cannot be matched or cloned: the match fails.
int32_t matchTables(zif_object *a, zif_object *b, zif_object **overlap)
{
    zif_object *result = zif_newTable(a->context);
    if (!result)
        return kFailure;
    zif::TableValue *as = zif::tableRecord(a);
    zif::TableValue *bs = zif::tableRecord(b);
    int32_t grade = kFull;
    auto carry = [&](int32_t key, zif_object *value) {
        grade = kPartial;
        zif_object *clone = nullptr;
        if (!zif_valueClone(value, &clone) || !zif_tableSetK(result, key, clone))
            grade = kFailure;
        zif_release(clone);
    };
    zif::tableForEach(as, [&](int32_t key, zif_object *value) {
        if (grade <= kNoMatch)
            return;
        zif_object *other = entryValue(bs, key);
        if (!other) {
            carry(key, value);
            return;
        }
        zif_object *o = nullptr;
        int32_t g = zif_constraintsMatch(value, other, &o);
        if (g <= kNoMatch) {
            grade = g;
        } else {
            if (!zif_tableSetK(result, key, o))
                grade = kFailure;
            else if (g == kPartial)
                grade = kPartial;
        }
        zif_release(o);
    });
    if (grade >= kPartial) {
        zif::tableForEach(bs, [&](int32_t key, zif_object *value) {
            if (grade >= kPartial && !zif::tableFind(as, key))
                carry(key, value);
        });
    }
    if (grade >= kPartial)
        *overlap = result;
    else
        zif_release(result);
    return grade;
}

}  // namespace

extern "C" int32_t zif_constraintsMatch(zif_object *a, zif_object *b, zif_object **overlap)
{
    if (!overlap)
        return kFailure;
    // Nothing can be agreed with a missing description.
    if (!a || !b) {
        *overlap = nullptr;
        return kFailure;
    }
    if (!zif::isValid(a) || !zif::isValid(b) || !zif::isValueType(a->type) || !zif::isValueType(b->type))
        return kNoMatch;

    bool aNumber = zif::isNumberType(a->type), bNumber = zif::isNumberType(b->type);
    if ((aNumber && bNumber) || (a->type == ZIF_TYPE_STRING && b->type == ZIF_TYPE_STRING))
        return zif_valueEquals(a, b) ? withClone(a, kFull, overlap) : kNoMatch;
    if (aNumber && b->type == ZIF_TYPE_INTERVAL)
        return zif::intervalContains(b, a) ? withClone(a, kPartial, overlap) : kNoMatch;
    if (bNumber && a->type == ZIF_TYPE_INTERVAL)
        return zif::intervalContains(a, b) ? withClone(b, kPartial, overlap) : kNoMatch;
    if (a->type == ZIF_TYPE_INTERVAL && b->type == ZIF_TYPE_INTERVAL)
        return matchIntervals(a, b, overlap);
    if (a->type == ZIF_TYPE_LIST && b->type == ZIF_TYPE_LIST)
        return matchLists(a, b, overlap);
    if (a->type == ZIF_TYPE_LIST)
        return matchListWithValue(a, b, true, overlap);
    if (b->type == ZIF_TYPE_LIST)
        return matchListWithValue(b, a, false, overlap);
    if (a->type == ZIF_TYPE_TABLE && b->type == ZIF_TYPE_TABLE)
        return matchTables(a, b, overlap);
    return kNoMatch;
}
