// Mixed arithmetic on int, double and fract values.
#include "framework/core/value.h"

#include <cmath>

namespace zif {

namespace {

int64_t intOf(zif_object *o) { return reinterpret_cast<IntValue *>(o)->number; }
double doubleOf(zif_object *o) { return reinterpret_cast<DoubleValue *>(o)->number; }
FractValue *fractOf(zif_object *o) { return reinterpret_cast<FractValue *>(o); }

// Both operands must be numbers; the error goes to whichever is present.
bool checkOperands(zif_object *a, zif_object *b)
{
    if (isNumber(a) && isNumber(b))
        return true;
    fail(isValid(a) ? a->context : isValid(b) ? b->context : nullptr, ZIF_ERR_INVALID_ARGUMENT);
    return false;
}

int64_t wrappingAdd(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
int64_t wrappingMul(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); }

// The value of a number as a double (a fract as num/den + n).
double asDouble(zif_object *o)
{
    switch (o->type) {
    case ZIF_TYPE_INT: return static_cast<double>(intOf(o));
    case ZIF_TYPE_DOUBLE: return doubleOf(o);
    default: return static_cast<double>(fractOf(o)->num) / static_cast<double>(fractOf(o)->den) + static_cast<double>(fractOf(o)->n);
    }
}

zif_object *fractTimesFract(zif_context *context, FractValue *a, FractValue *b)
{
    // n = a.n*b.n; num = b.n*b.den*a.num + b.num*a.n*a.den + a.num*b.num;
    // den = a.den*b.den, with every step checked.
    __int128 n = static_cast<__int128>(a->n) * b->n;
    __int128 t1, t2, t3, num;
    bool overflow = __builtin_mul_overflow(static_cast<__int128>(b->n) * b->den, a->num, &t1) ||
                    __builtin_mul_overflow(static_cast<__int128>(b->num) * a->n, a->den, &t2) ||
                    __builtin_mul_overflow(static_cast<__int128>(a->num), b->num, &t3) ||
                    __builtin_add_overflow(t1, t2, &num) || __builtin_add_overflow(num, t3, &num);
    if (overflow) {
        long double x = static_cast<long double>(a->n) + static_cast<long double>(a->num) / a->den;
        long double y = static_cast<long double>(b->n) + static_cast<long double>(b->num) / b->den;
        return fractApproximate(context, x * y);
    }
    return fractFromWide(context, n, num, static_cast<__int128>(a->den) * b->den);
}

}  // namespace

}  // namespace zif

using namespace zif;

extern "C" {

zif_object *zif_numberAdd(zif_object *a, zif_object *b)
{
    if (!checkOperands(a, b))
        return nullptr;
    zif_context *context = a->context;
    if (a->type == ZIF_TYPE_DOUBLE || b->type == ZIF_TYPE_DOUBLE) {
        if (a->type == ZIF_TYPE_FRACT) {
            FractValue *f = fractOf(a);
            return zif_newDouble(context, static_cast<double>(f->num) / f->den + (static_cast<double>(f->n) + doubleOf(b)));
        }
        return zif_newDouble(context, asDouble(a) + asDouble(b));
    }
    if (a->type == ZIF_TYPE_INT && b->type == ZIF_TYPE_INT)
        return zif_newInt(context, wrappingAdd(intOf(a), intOf(b)));
    if (a->type == ZIF_TYPE_INT)
        return fractFromWide(context, static_cast<__int128>(intOf(a)) + fractOf(b)->n, fractOf(b)->num, fractOf(b)->den);
    if (b->type == ZIF_TYPE_INT)
        return fractFromWide(context, static_cast<__int128>(fractOf(a)->n) + intOf(b), fractOf(a)->num, fractOf(a)->den);
    return zif_fractAdd(a, b);
}

zif_object *zif_numberSub(zif_object *a, zif_object *b)
{
    if (!checkOperands(a, b))
        return nullptr;
    zif_object *negated = zif_numberNegate(b);
    if (!negated)
        return nullptr;
    zif_object *difference = zif_numberAdd(a, negated);
    zif_release(negated);
    return difference;
}

zif_object *zif_numberMul(zif_object *a, zif_object *b)
{
    if (!checkOperands(a, b))
        return nullptr;
    zif_context *context = a->context;
    if (a->type == ZIF_TYPE_DOUBLE || b->type == ZIF_TYPE_DOUBLE) {
        if (a->type == ZIF_TYPE_FRACT) {
            FractValue *f = fractOf(a);
            double y = doubleOf(b);
            return zif_newDouble(context, static_cast<double>(f->num) * y / static_cast<double>(f->den) + y * static_cast<double>(f->n));
        }
        return zif_newDouble(context, asDouble(a) * asDouble(b));
    }
    if (a->type == ZIF_TYPE_INT && b->type == ZIF_TYPE_INT)
        return zif_newInt(context, wrappingMul(intOf(a), intOf(b)));
    if (a->type == ZIF_TYPE_INT) {
        __int128 x = intOf(a);
        return fractFromWide(context, x * fractOf(b)->n, x * fractOf(b)->num, fractOf(b)->den);
    }
    if (b->type == ZIF_TYPE_INT) {
        __int128 y = intOf(b);
        return fractFromWide(context, fractOf(a)->n * y, fractOf(a)->num * y, fractOf(a)->den);
    }
    return fractTimesFract(context, fractOf(a), fractOf(b));
}

zif_object *zif_numberNegate(zif_object *a)
{
    if (!isNumber(a)) {
        fail(isValid(a) ? a->context : nullptr, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    switch (a->type) {
    case ZIF_TYPE_INT: return zif_newInt(a->context, static_cast<int64_t>(0 - static_cast<uint64_t>(intOf(a))));
    case ZIF_TYPE_DOUBLE: return zif_newDouble(a->context, -doubleOf(a));
    default: return fractFromWide(a->context, -static_cast<__int128>(fractOf(a)->n), -static_cast<__int128>(fractOf(a)->num), fractOf(a)->den);
    }
}

zif_object *zif_numberInvert(zif_object *a)
{
    if (!isNumber(a))
        return nullptr;
    switch (a->type) {
    case ZIF_TYPE_INT:
        if (intOf(a) == 0) {
            fail(a->context, ZIF_ERR_INVALID_ARGUMENT);
            return nullptr;
        }
        return intOf(a) == 1 ? zif_newInt(a->context, 1) : zif_newFract(a->context, 0, 1, intOf(a));
    case ZIF_TYPE_DOUBLE:
        if (doubleOf(a) == 0.0) {
            fail(a->context, ZIF_ERR_INVALID_ARGUMENT);
            return nullptr;
        }
        return zif_newDouble(a->context, 1.0 / doubleOf(a));
    default: return zif_fractInvert(a);
    }
}

}  // extern "C"
