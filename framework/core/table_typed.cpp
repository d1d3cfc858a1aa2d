// Typed convenience getters and setters of tables, by name and by key.
#include "framework/core/container.h"

using zif::TableEntry;
using zif::tableRecord;

namespace {

// Stores a value just created for the table, dropping the creator's reference.
int32_t setNew(zif_object *table, int32_t key, zif_object *value)
{
    if (!value)
        return 0;
    int32_t ok = zif_tableSetK(table, key, value);
    zif_release(value);
    return ok;
}

// Whether a setter may go ahead: a valid, unlocked table and a key.
bool canSet(zif_object *table, int32_t key)
{
    return zif_asTable(table) && zif::checkModifiable(table) && key >= 0;
}

TableEntry *find(zif_object *table, int32_t key)
{
    return zif_asTable(table) && key >= 0 ? zif::tableFind(tableRecord(table), key) : nullptr;
}

int32_t keyOf(zif_object *table, const char *name)
{
    return zif_asTable(table) ? zif_nameToKey(table->context, name) : -1;
}

}  // namespace

extern "C" {

int32_t zif_tableSetIntK(zif_object *table, int32_t key, int64_t value)
{
    return canSet(table, key) ? setNew(table, key, zif_newInt(table->context, value)) : 0;
}

int32_t zif_tableSetDoubleK(zif_object *table, int32_t key, double value)
{
    return canSet(table, key) ? setNew(table, key, zif_newDouble(table->context, value)) : 0;
}

int32_t zif_tableSetFractK(zif_object *table, int32_t key, int64_t n, int64_t num, int64_t den)
{
    return canSet(table, key) ? setNew(table, key, zif_newFract(table->context, n, num, den)) : 0;
}

int32_t zif_tableSetStringK(zif_object *table, int32_t key, const char *text)
{
    return canSet(table, key) ? setNew(table, key, zif_newString(table->context, text)) : 0;
}

int32_t zif_tableSetDataK(zif_object *table, int32_t key, const void *bytes, int32_t size)
{
    if (!canSet(table, key))
        return 0;
    zif_object *data = zif_newData(table->context, size);
    if (data && !zif_dataSetContents(data, bytes, size)) {
        zif_release(data);
        return 0;
    }
    return setNew(table, key, data);
}

int32_t zif_tableSetTableK(zif_object *table, int32_t key, zif_object *value)
{
    if (!zif_asTable(table))
        return 0;
    if (value && !zif_asValue(value))
        value = nullptr;  // not a value: error 4 recorded, null stored
    return zif_tableSetK(table, key, value);
}

int32_t zif_tableSetInt(zif_object *table, const char *name, int64_t value) { return zif_tableSetIntK(table, keyOf(table, name), value); }
int32_t zif_tableSetDouble(zif_object *table, const char *name, double value) { return zif_tableSetDoubleK(table, keyOf(table, name), value); }
int32_t zif_tableSetFract(zif_object *table, const char *name, int64_t n, int64_t num, int64_t den)
{
    return zif_tableSetFractK(table, keyOf(table, name), n, num, den);
}
int32_t zif_tableSetString(zif_object *table, const char *name, const char *text) { return zif_tableSetStringK(table, keyOf(table, name), text); }
int32_t zif_tableSetData(zif_object *table, const char *name, const void *bytes, int32_t size)
{
    return zif_tableSetDataK(table, keyOf(table, name), bytes, size);
}
int32_t zif_tableSetTable(zif_object *table, const char *name, zif_object *value) { return zif_tableSetTableK(table, keyOf(table, name), value); }

int64_t zif_tableGetIntK(zif_object *table, int32_t key, int64_t defaultValue)
{
    TableEntry *e = find(table, key);
    return e ? zif_numberGetIntValue(e->object, defaultValue) : defaultValue;
}

double zif_tableGetDoubleK(zif_object *table, int32_t key, double defaultValue)
{
    TableEntry *e = find(table, key);
    return e ? zif_numberGetDoubleValue(e->object, defaultValue) : defaultValue;
}

zif_object *zif_tableGetFractK(zif_object *table, int32_t key, zif_object *defaultValue)
{
    TableEntry *e = find(table, key);
    return e ? zif_numberGetFractValue(e->object, defaultValue) : zif_addRef(defaultValue);
}

const char *zif_tableGetStringK(zif_object *table, int32_t key, const char *defaultValue)
{
    TableEntry *e = find(table, key);
    return e && zif::isValid(e->object) && e->object->type == ZIF_TYPE_STRING ? zif_stringGetValue(e->object) : defaultValue;
}

int32_t zif_tableGetDataK(zif_object *table, int32_t key, const uint8_t **bytes, int32_t *size, const uint8_t *defaultBytes,
                          int32_t defaultSize)
{
    if (bytes)
        *bytes = defaultBytes;
    if (size)
        *size = defaultSize;
    if (!zif_asTable(table))
        return 0;
    TableEntry *e = find(table, key);
    if (!e) {
        zif::fail(table->context, ZIF_ERR_NOT_FOUND);
        return 0;
    }
    if (!zif::isValid(e->object) || e->object->type != ZIF_TYPE_DATA) {
        zif::fail(table->context, ZIF_ERR_WRONG_TYPE);
        return 0;
    }
    if (bytes)
        *bytes = zif_dataGetReadPtr(e->object);
    if (size)
        *size = zif_dataGetSize(e->object);
    return 1;
}

zif_object *zif_tableGetTableK(zif_object *table, int32_t key, zif_object *defaultTable)
{
    TableEntry *e = find(table, key);
    return zif_addRef(e && zif::isValid(e->object) && e->object->type == ZIF_TYPE_TABLE ? e->object : defaultTable);
}

int64_t zif_tableGetInt(zif_object *table, const char *name, int64_t defaultValue) { return zif_tableGetIntK(table, keyOf(table, name), defaultValue); }
double zif_tableGetDouble(zif_object *table, const char *name, double defaultValue) { return zif_tableGetDoubleK(table, keyOf(table, name), defaultValue); }
zif_object *zif_tableGetFract(zif_object *table, const char *name, zif_object *defaultValue)
{
    return zif_tableGetFractK(table, keyOf(table, name), defaultValue);
}
const char *zif_tableGetString(zif_object *table, const char *name, const char *defaultValue)
{
    return zif_tableGetStringK(table, keyOf(table, name), defaultValue);
}
int32_t zif_tableGetData(zif_object *table, const char *name, const uint8_t **bytes, int32_t *size, const uint8_t *defaultBytes,
                         int32_t defaultSize)
{
    return zif_tableGetDataK(table, keyOf(table, name), bytes, size, defaultBytes, defaultSize);
}
zif_object *zif_tableGetTable(zif_object *table, const char *name, zif_object *defaultTable)
{
    return zif_tableGetTableK(table, keyOf(table, name), defaultTable);
}

int32_t zif_tableSetFromTableK(zif_object *destination, zif_object *source, int32_t key)
{
    if (!zif_asTable(destination) || !zif_asTable(source))
        return 0;
    TableEntry *e = find(source, key);
    return e ? zif_tableSetK(destination, key, e->object) : 1;
}

int32_t zif_tableSetFromTable(zif_object *destination, zif_object *source, const char *name)
{
    return zif_tableSetFromTableK(destination, source, keyOf(source, name));
}

}  // extern "C"
