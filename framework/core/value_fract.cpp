// Exact fractions n + num/den. Stored canonically: den > 0, |num| < den,
// num/den reduced, and num never of the opposite sign to n (n is the value
// truncated toward zero), so normalising twice changes nothing.
#include "framework/core/value.h"

#include <cmath>

namespace zif {

namespace {

constexpr int64_t kFallbackDenominator = int64_t{1} << 28;

__int128 gcd(__int128 a, __int128 b)
{
    if (a < 0)
        a = -a;
    while (b != 0) {
        __int128 r = a % b;
        a = b;
        b = r;
    }
    return a < 0 ? -a : a;
}

bool fitsInt64(__int128 v) { return v >= INT64_MIN && v <= INT64_MAX; }

zif_object *fractStore(zif_context *context, int64_t n, int64_t num, int64_t den)
{
    auto *f = objectNew<FractValue>(context, ZIF_TYPE_FRACT, nullptr);
    if (f) {
        f->n = n;
        f->num = num;
        f->den = den;
    }
    return reinterpret_cast<zif_object *>(f);
}

FractValue *fract(zif_object *o) { return reinterpret_cast<FractValue *>(o); }

// Brings (n, num, den) into the canonical form; den must not be 0.
void fractNormalise(__int128 &n, __int128 &num, __int128 &den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    n += num / den;
    num %= den;
    if (n < 0 && num > 0) {
        n += 1;
        num -= den;
    } else if (n > 0 && num < 0) {
        n -= 1;
        num += den;
    }
    __int128 g = gcd(num, den);
    num /= g;
    den /= g;
}

}  // namespace

// The value approximated over 2^28, for results whose exact parts overflow.
zif_object *fractApproximate(zif_context *context, long double value)
{
    long double whole = std::trunc(value);
    if (!std::isfinite(value) || whole < -0x1p63L || whole >= 0x1p63L) {
        fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    __int128 n = static_cast<int64_t>(whole);
    __int128 num = static_cast<int64_t>((value - whole) * kFallbackDenominator);
    __int128 den = kFallbackDenominator;
    fractNormalise(n, num, den);
    return fractStore(context, static_cast<int64_t>(n), static_cast<int64_t>(num), static_cast<int64_t>(den));
}

zif_object *fractFromWide(zif_context *context, __int128 n, __int128 num, __int128 den)
{
    if (den == 0) {
        fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    fractNormalise(n, num, den);
    if (!fitsInt64(n) || !fitsInt64(num) || !fitsInt64(den))
        return fractApproximate(context, static_cast<long double>(n) +
                                             static_cast<long double>(num) / static_cast<long double>(den));
    return fractStore(context, static_cast<int64_t>(n), static_cast<int64_t>(num), static_cast<int64_t>(den));
}

}  // namespace zif

using zif::fract;

extern "C" {

zif_object *zif_newFract(zif_context *context, int64_t n, int64_t num, int64_t den)
{
    return zif::fractFromWide(context, n, num, den);
}

zif_object *zif_newFractFromDouble(zif_context *context, double value)
{
    long double whole = std::trunc(static_cast<long double>(value));
    if (!std::isfinite(value) || whole < -0x1p63L || whole >= 0x1p63L) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    long double rest = static_cast<long double>(value) - whole;
    int64_t m = 0;
    int64_t d = 1;
    for (int i = 0; i <= 62; ++i) {
        d = int64_t{1} << i;
        long double t = rest * static_cast<long double>(d);
        m = static_cast<int64_t>(t);
        if (static_cast<long double>(m) == t || m >= (int64_t{1} << 62) || m <= -(int64_t{1} << 62))
            break;
    }
    return zif::fractFromWide(context, static_cast<int64_t>(whole), m, d);
}

int64_t zif_fractGetIntegralPart(zif_object *f) { return fract(f)->n; }
int64_t zif_fractGetNumerator(zif_object *f) { return fract(f)->num; }
int64_t zif_fractGetDenominator(zif_object *f) { return fract(f)->den; }

zif_object *zif_fractAdd(zif_object *a, zif_object *b)
{
    if (!zif::isValid(a) || !zif::isValid(b))
        return nullptr;
    zif::FractValue *x = fract(a);
    zif::FractValue *y = fract(b);
    __int128 n = static_cast<__int128>(x->n) + y->n;
    int64_t product;
    if (__builtin_mul_overflow(x->den, y->den, &product)) {
        // Denominators too large for an exact sum: approximate over 2^28.
        long double parts = static_cast<long double>(x->num) / x->den + static_cast<long double>(y->num) / y->den;
        __int128 num = static_cast<int64_t>(parts * zif::kFallbackDenominator);
        return zif::fractFromWide(a->context, n, num, zif::kFallbackDenominator);
    }
    __int128 s = static_cast<__int128>(x->den) / zif::gcd(x->den, y->den) * y->den;
    __int128 num = (s / y->den) * y->num + (s / x->den) * x->num;
    return zif::fractFromWide(a->context, n, num, s);
}

zif_object *zif_fractNegate(zif_object *a)
{
    if (!zif::isValid(a))
        return nullptr;
    zif::FractValue *x = fract(a);
    return zif::fractStore(a->context, static_cast<int64_t>(0 - static_cast<uint64_t>(x->n)),
                           static_cast<int64_t>(0 - static_cast<uint64_t>(x->num)), x->den);
}

zif_object *zif_fractSub(zif_object *a, zif_object *b)
{
    zif_object *negated = zif_fractNegate(b);
    if (!negated)
        return nullptr;
    zif_object *difference = zif_fractAdd(a, negated);
    zif_release(negated);
    return difference;
}

zif_object *zif_fractInvert(zif_object *a)
{
    if (!zif::isValid(a))
        return nullptr;
    zif::FractValue *x = fract(a);
    __int128 whole = static_cast<__int128>(x->n) * x->den + x->num;
    if (whole == 0) {
        zif::fail(a->context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    return zif::fractFromWide(a->context, 0, x->den, whole);
}

}  // extern "C"
