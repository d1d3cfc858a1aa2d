// Comparing interval bounds where a missing bound is unbounded: a missing
// lower bound lies below every number, a missing upper bound above.
#pragma once

#include "framework/core/value.h"

namespace zif {

struct Bound {
    zif_object *value;  // null: unbounded
    bool isLower;
    bool excluded;
};

inline IntervalValue *intervalRecord(zif_object *o) { return reinterpret_cast<IntervalValue *>(o); }

inline Bound lowerBound(zif_object *interval)
{
    IntervalValue *v = intervalRecord(interval);
    return {v->lower, true, v->lower && v->lowerExclusive != 0};
}

inline Bound upperBound(zif_object *interval)
{
    IntervalValue *v = intervalRecord(interval);
    return {v->upper, false, v->upper && v->upperExclusive != 0};
}

// -1, 0 or 1 for the positions of two bounds on the number line.
inline int compareBounds(const Bound &a, const Bound &b)
{
    if (!a.value || !b.value) {
        int ra = a.value ? 0 : (a.isLower ? -1 : 1);
        int rb = b.value ? 0 : (b.isLower ? -1 : 1);
        return ra < rb ? -1 : ra > rb ? 1 : 0;
    }
    int c = zif_valueCompare(a.value, b.value);
    return c == -2 ? 0 : c;
}

// Whether number lies inside interval.
inline bool intervalContains(zif_object *interval, zif_object *number)
{
    Bound point{number, true, false};
    Bound lower = lowerBound(interval);
    Bound upper = upperBound(interval);
    int cl = compareBounds(lower, point);
    int cu = compareBounds(upper, point);
    return (cl < 0 || (cl == 0 && !lower.excluded)) && (cu > 0 || (cu == 0 && !upper.excluded));
}

}  // namespace zif
