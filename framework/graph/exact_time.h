// Exact rational times and rates for retiming: numerator over a positive
// denominator, kept in lowest terms.
#pragma once

#include "framework/include/zif.h"

#include <numeric>

namespace zif {

struct ExactTime {
    __int128 num = 0;
    __int128 den = 1;

    static ExactTime of(__int128 num, __int128 den)
    {
        if (den < 0)
            num = -num, den = -den;
        __int128 a = num < 0 ? -num : num, b = den;
        while (b) {
            __int128 r = a % b;
            a = b;
            b = r;
        }
        if (a > 1)
            num /= a, den /= a;
        return {num, den};
    }

    // The exact value of a number (int, double or fract); false for anything else.
    static bool fromValue(zif_object *value, ExactTime *out)
    {
        if (!zif_objectIsNumber(value))
            return false;
        zif_object *f = zif_numberGetFractValue(value, nullptr);
        if (!f)
            return false;
        __int128 den = zif_fractGetDenominator(f);
        *out = of(static_cast<__int128>(zif_fractGetIntegralPart(f)) * den + zif_fractGetNumerator(f), den);
        zif_release(f);
        return true;
    }

    ExactTime operator+(const ExactTime &o) const { return of(num * o.den + o.num * den, den * o.den); }
    ExactTime operator-(const ExactTime &o) const { return of(num * o.den - o.num * den, den * o.den); }
    ExactTime divided(__int128 k) const { return of(num, den * k); }
    ExactTime inverse() const { return of(den, num); }
    bool operator<(const ExactTime &o) const { return num * o.den < o.num * den; }
    bool operator<=(const ExactTime &o) const { return num * o.den <= o.num * den; }
    bool positive() const { return num > 0; }
    double toDouble() const { return static_cast<double>(num) / static_cast<double>(den); }

    // A fract value holding this time exactly (integral part plus remainder).
    zif_object *toFract(zif_context *context) const
    {
        __int128 n = num / den, rest = num % den;
        if (rest < 0)
            n -= 1, rest += den;
        return zif_newFract(context, static_cast<int64_t>(n), static_cast<int64_t>(rest), static_cast<int64_t>(den));
    }
};

}  // namespace zif
