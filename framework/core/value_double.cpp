// Double values.
#include "framework/core/value.h"

extern "C" {

zif_object *zif_newDouble(zif_context *context, double number)
{
    auto *v = zif::objectNew<zif::DoubleValue>(context, ZIF_TYPE_DOUBLE, nullptr);
    if (v)
        v->number = number;
    return reinterpret_cast<zif_object *>(v);
}

double zif_doubleGetValue(zif_object *value) { return reinterpret_cast<zif::DoubleValue *>(value)->number; }

}  // extern "C"
