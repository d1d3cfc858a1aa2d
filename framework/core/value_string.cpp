// String values: an owned, NUL-terminated UTF-8 copy.
#include "framework/core/text.h"
#include "framework/core/value.h"

#include <cstring>

namespace {

void stringDestroy(zif_object *object)
{
    zif_free(object->context, reinterpret_cast<zif::StringValue *>(object)->text);
}

}  // namespace

extern "C" {

zif_object *zif_newStringN(zif_context *context, const char *bytes, int32_t length)
{
    if (!bytes || length < -1) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    char *copy = zif_copyStringN(context, bytes, length);
    if (!copy)
        return nullptr;
    auto *v = zif::objectNew<zif::StringValue>(context, ZIF_TYPE_STRING, stringDestroy);
    if (!v) {
        zif_free(context, copy);
        return nullptr;
    }
    v->text = copy;
    return reinterpret_cast<zif_object *>(v);
}

zif_object *zif_newString(zif_context *context, const char *text) { return zif_newStringN(context, text, -1); }

const char *zif_stringGetValue(zif_object *string)
{
    return string ? reinterpret_cast<zif::StringValue *>(string)->text : nullptr;
}

char *zif_stringToCP(zif_object *string)
{
    if (!zif::isValid(string))
        return nullptr;
    return zif::utf8ToLocaleCharset(string->context, reinterpret_cast<zif::StringValue *>(string)->text);
}

zif_char16 *zif_stringToUTF16(zif_object *string)
{
    if (!zif::isValid(string))
        return nullptr;
    return zif_utf8ToUTF16(string->context, reinterpret_cast<zif::StringValue *>(string)->text);
}

}  // extern "C"
