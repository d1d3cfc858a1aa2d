// Value records: the lock counts every value carries and the fields of each kind.
#pragma once

#include "framework/core/object.h"

namespace zif {

struct Value {
    zif_object header;
    int32_t ownLocks;
    int32_t inheritedLocks;
};

struct IntValue {
    Value value;
    int64_t number;
};

struct DoubleValue {
    Value value;
    double number;
};

struct FractValue {
    Value value;
    int64_t n;
    int64_t num;
    int64_t den;
};

struct IntervalValue {
    Value value;
    int32_t kind;
    int32_t lowerExclusive;  // -1 when the lower bound is excluded, else 0
    int32_t upperExclusive;  // 1 when the upper bound is excluded, else 0
    zif_object *lower;
    zif_object *upper;
};

struct StringValue {
    Value value;
    char *text;
};

struct DataValue {
    Value value;
    uint8_t *buffer;
    int32_t allocated;
    int32_t size;
};

inline Value *asValueRecord(zif_object *object) { return reinterpret_cast<Value *>(object); }

inline bool isValueType(int32_t type) { return (type >= 1 && type <= 3) || (type >= 1000 && type <= 1004); }
inline bool isNumberType(int32_t type) { return type >= 1 && type <= 3; }
inline bool isNumber(const zif_object *object) { return isValid(object) && isNumberType(object->type); }

// A value is locked while either count is above 0.
inline bool isLocked(zif_object *value)
{
    Value *v = asValueRecord(value);
    return v->ownLocks > 0 || v->inheritedLocks > 0;
}

// Fails with error 6 when the value is locked.
bool checkModifiable(zif_object *value);

// Raises the own lock count by one; a table passes the lock on to its contents.
void valueLock(zif_object *value);

// Clears the own lock count of a value nobody else holds (refuses a shared or
// inheriting one with error 5) and lowers its contents by the amount cleared.
bool valueClearOwnLock(zif_object *value);

// Takes back one lock taken with valueLock.
void valueUnlockOnce(zif_object *value);

// Adds delta to the inherited count of value and everything nested inside it.
void valueInheritLocks(zif_object *value, int32_t delta);

// How much lock a container passes on to each value it holds.
int32_t containerLockContribution(zif_object *container);

// Creates a fract from a value given in 128 bits, normalised; falls back to
// an approximation over 2^28 when the normalised parts do not fit 64 bits.
zif_object *fractFromWide(zif_context *context, __int128 n, __int128 num, __int128 den);

// A fract approximating value over 2^28 (error 2 when out of range).
zif_object *fractApproximate(zif_context *context, long double value);

}  // namespace zif
