// Reading any number as an int, a double or a fract.
#include "framework/core/value.h"

#include <cmath>

namespace {

// floor(x + 0.5) as an int64, saturating at the range ends; NaN gives 0.
int64_t roundHalfUp(long double x)
{
    long double r = std::floor(x + 0.5L);
    if (std::isnan(r))
        return 0;
    if (r >= 0x1p63L)
        return INT64_MAX;
    if (r < -0x1p63L)
        return INT64_MIN;
    return static_cast<int64_t>(r);
}

}  // namespace

extern "C" {

int64_t zif_numberGetIntValue(zif_object *value, int64_t defaultValue)
{
    if (!value)
        return defaultValue;
    if (!zif::isNumber(value)) {
        zif::fail(zif::isValid(value) ? value->context : nullptr, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    switch (value->type) {
    case ZIF_TYPE_INT: return reinterpret_cast<zif::IntValue *>(value)->number;
    case ZIF_TYPE_DOUBLE: return roundHalfUp(reinterpret_cast<zif::DoubleValue *>(value)->number);
    default: {
        auto *f = reinterpret_cast<zif::FractValue *>(value);
        return roundHalfUp(static_cast<long double>(f->num) / f->den + f->n);
    }
    }
}

double zif_numberGetDoubleValue(zif_object *value, double defaultValue)
{
    if (!value)
        return defaultValue;
    if (!zif::isNumber(value)) {
        zif::fail(zif::isValid(value) ? value->context : nullptr, ZIF_ERR_INVALID_ARGUMENT);
        return defaultValue;
    }
    switch (value->type) {
    case ZIF_TYPE_INT: return static_cast<double>(reinterpret_cast<zif::IntValue *>(value)->number);
    case ZIF_TYPE_DOUBLE: return reinterpret_cast<zif::DoubleValue *>(value)->number;
    default: {
        auto *f = reinterpret_cast<zif::FractValue *>(value);
        return static_cast<double>(f->num) / static_cast<double>(f->den) + static_cast<double>(f->n);
    }
    }
}

zif_object *zif_numberGetFractValue(zif_object *value, zif_object *defaultValue)
{
    if (!value)
        return zif_addRef(defaultValue);
    if (!zif::isNumber(value)) {
        zif::fail(zif::isValid(value) ? value->context : nullptr, ZIF_ERR_INVALID_ARGUMENT);
        return zif_addRef(defaultValue);
    }
    zif_object *result = nullptr;
    switch (value->type) {
    case ZIF_TYPE_INT: result = zif_newFract(value->context, reinterpret_cast<zif::IntValue *>(value)->number, 0, 1); break;
    case ZIF_TYPE_DOUBLE: result = zif_newFractFromDouble(value->context, reinterpret_cast<zif::DoubleValue *>(value)->number); break;
    default: result = zif_addRef(value); break;
    }
    return result ? result : zif_addRef(defaultValue);
}

}  // extern "C"
