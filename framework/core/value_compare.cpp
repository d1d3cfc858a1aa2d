// Ordering comparison and equality of values.
#include "framework/core/container.h"

#include <cstring>

namespace {

using zif::FractValue;

int64_t intOf(zif_object *o) { return reinterpret_cast<zif::IntValue *>(o)->number; }
FractValue *fractOf(zif_object *o) { return reinterpret_cast<FractValue *>(o); }

long double extended(zif_object *o)
{
    switch (o->type) {
    case ZIF_TYPE_INT: return static_cast<long double>(intOf(o));
    case ZIF_TYPE_DOUBLE: return reinterpret_cast<zif::DoubleValue *>(o)->number;
    default: return static_cast<long double>(fractOf(o)->num) / fractOf(o)->den + fractOf(o)->n;
    }
}

int sign(long double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

template <typename T>
int order(T a, T b) { return a < b ? -1 : a > b ? 1 : 0; }

// Exact order of two canonical fracts: the integral part is the value
// truncated toward zero, and equal integral parts leave the fraction parts,
// |num| < den, to compare in 128 bits.
int fractOrder(int64_t an, int64_t anum, int64_t aden, int64_t bn, int64_t bnum, int64_t bden)
{
    if (an != bn)
        return order(an, bn);
    return order(static_cast<__int128>(anum) * bden, static_cast<__int128>(bnum) * aden);
}

FractValue fractOfNumber(zif_object *o)
{
    if (o->type == ZIF_TYPE_INT)
        return FractValue{{}, intOf(o), 0, 1};
    return *fractOf(o);
}

int compareNumbers(zif_object *a, zif_object *b)
{
    if (a->type == ZIF_TYPE_DOUBLE || b->type == ZIF_TYPE_DOUBLE)
        return sign(extended(a) - extended(b));
    if (a->type == ZIF_TYPE_INT && b->type == ZIF_TYPE_INT)
        return order(intOf(a), intOf(b));
    FractValue x = fractOfNumber(a);
    FractValue y = fractOfNumber(b);
    return fractOrder(x.n, x.num, x.den, y.n, y.num, y.den);
}

bool equalNumbers(zif_object *a, zif_object *b)
{
    if (a->type == ZIF_TYPE_DOUBLE || b->type == ZIF_TYPE_DOUBLE)
        return extended(a) == extended(b);
    if (a->type == ZIF_TYPE_INT && b->type == ZIF_TYPE_INT)
        return intOf(a) == intOf(b);
    FractValue x = fractOfNumber(a);
    FractValue y = fractOfNumber(b);
    return x.n == y.n && x.num == y.num && x.den == y.den;
}

bool equalData(zif_object *a, zif_object *b)
{
    auto *x = reinterpret_cast<zif::DataValue *>(a);
    auto *y = reinterpret_cast<zif::DataValue *>(b);
    return x->size == y->size && (x->size == 0 || std::memcmp(x->buffer, y->buffer, static_cast<size_t>(x->size)) == 0);
}

bool equalIntervals(zif_object *a, zif_object *b)
{
    auto *x = reinterpret_cast<zif::IntervalValue *>(a);
    auto *y = reinterpret_cast<zif::IntervalValue *>(b);
    return zif_valueEquals(x->lower, y->lower) && zif_valueEquals(x->upper, y->upper);
}

bool equalLists(zif_object *a, zif_object *b)
{
    zif::ListValue *x = zif::listRecord(a);
    zif::ListValue *y = zif::listRecord(b);
    if (x->entryCount != y->entryCount)
        return false;
    for (zif_list_link *p = x->head.next, *q = y->head.next; p != &x->tail; p = p->next, q = q->next)
        if (!zif_valueEquals(p->object, q->object))
            return false;
    return true;
}

// Same entry count and every key of a present in b with an equal value.
bool equalTables(zif_object *a, zif_object *b)
{
    zif::TableValue *x = zif::tableRecord(a);
    zif::TableValue *y = zif::tableRecord(b);
    if (x->entryCount != y->entryCount)
        return false;
    bool equal = true;
    zif::tableForEach(x, [&](int32_t key, zif_object *value) {
        if (!equal)
            return;
        zif::TableEntry *other = zif::tableFind(y, key);
        equal = other && zif_valueEquals(value, other->object);
    });
    return equal;
}

}  // namespace

extern "C" {

int32_t zif_valueCompare(zif_object *a, zif_object *b)
{
    if (!a && !b)
        return 0;
    if (!zif::isValid(a) || !zif::isValid(b))
        return -2;
    if (zif::isNumberType(a->type) && zif::isNumberType(b->type))
        return compareNumbers(a, b);
    if (a->type != b->type || !zif::isValueType(a->type))
        return -2;
    switch (a->type) {
    case ZIF_TYPE_STRING: {
        int c = std::strcmp(zif_stringGetValue(a), zif_stringGetValue(b));
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    case ZIF_TYPE_DATA: {
        auto *x = reinterpret_cast<zif::DataValue *>(a);
        auto *y = reinterpret_cast<zif::DataValue *>(b);
        if (x->size != y->size)
            return order(x->size, y->size);
        int c = x->size ? std::memcmp(x->buffer, y->buffer, static_cast<size_t>(x->size)) : 0;
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    default: return zif_valueEquals(a, b) ? 0 : -2;
    }
}

int32_t zif_valueEquals(zif_object *a, zif_object *b)
{
    if (!a || !b)
        return !a && !b;
    if (!zif::isValid(a) || !zif::isValid(b))
        return 0;
    if (zif::isNumberType(a->type) && zif::isNumberType(b->type))
        return equalNumbers(a, b);
    if (a->type != b->type || !zif::isValueType(a->type))
        return 0;
    switch (a->type) {
    case ZIF_TYPE_STRING: return std::strcmp(zif_stringGetValue(a), zif_stringGetValue(b)) == 0;
    case ZIF_TYPE_DATA: return equalData(a, b);
    case ZIF_TYPE_INTERVAL: return equalIntervals(a, b);
    case ZIF_TYPE_LIST: return equalLists(a, b);
    default: return equalTables(a, b);
    }
}

}  // extern "C"
