// Integer values (64-bit).
#include "framework/core/value.h"

extern "C" {

zif_object *zif_newInt(zif_context *context, int64_t number)
{
    auto *v = zif::objectNew<zif::IntValue>(context, ZIF_TYPE_INT, nullptr);
    if (v)
        v->number = number;
    return reinterpret_cast<zif_object *>(v);
}

int64_t zif_intGetValue(zif_object *value) { return reinterpret_cast<zif::IntValue *>(value)->number; }

}  // extern "C"
