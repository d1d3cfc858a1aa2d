// Tables: interned key to value, in hash buckets of key modulo bucket count.
#include "framework/core/container.h"

using zif::TableEntry;
using zif::TableValue;
using zif::tableRecord;

namespace zif {

TableEntry *tableFind(TableValue *table, int32_t key)
{
    TableEntry *e = table->buckets[static_cast<uint32_t>(key) % static_cast<uint32_t>(table->bucketCount)];
    while (e && e->key != key)
        e = e->next;
    return e;
}

}  // namespace zif

namespace {

constexpr int32_t kInitialBuckets = 10;

TableEntry *&bucketOf(TableEntry **buckets, int32_t count, int32_t key)
{
    return buckets[static_cast<uint32_t>(key) % static_cast<uint32_t>(count)];
}

// Drops the table's hold on an object leaving it.
void releaseEntry(zif_object *table, zif_object *object)
{
    zif::valueInheritLocks(object, -zif::containerLockContribution(table));
    zif_release(object);
}

void removeAll(zif_object *table)
{
    TableValue *t = tableRecord(table);
    for (int32_t b = 0; b < t->bucketCount; ++b) {
        while (TableEntry *e = t->buckets[b]) {
            t->buckets[b] = e->next;
            zif_object *object = e->object;
            zif_free(table->context, e);
            --t->entryCount;
            releaseEntry(table, object);
        }
    }
}

void tableDestroy(zif_object *table)
{
    removeAll(table);
    zif_free(table->context, tableRecord(table)->buckets);
}

// Doubles the bucket array, moving each entry to the head of its new bucket.
bool grow(zif_object *table)
{
    TableValue *t = tableRecord(table);
    int32_t count = t->bucketCount * 2;
    auto **buckets = static_cast<TableEntry **>(zif_zalloc(table->context, count * static_cast<int32_t>(sizeof(TableEntry *))));
    if (!buckets)
        return false;
    for (int32_t b = 0; b < t->bucketCount; ++b) {
        TableEntry *e = t->buckets[b];
        while (e) {
            TableEntry *next = e->next;
            TableEntry *&head = bucketOf(buckets, count, e->key);
            e->next = head;
            head = e;
            e = next;
        }
    }
    zif_free(table->context, t->buckets);
    t->buckets = buckets;
    t->bucketCount = count;
    return true;
}

bool checkKey(zif_object *table, int32_t key)
{
    if (key < 0 || key >= table->context->keyCount) {
        zif::fail(table->context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    return true;
}

}  // namespace

extern "C" {

zif_object *zif_newTable(zif_context *context)
{
    auto *t = zif::objectNew<TableValue>(context, ZIF_TYPE_TABLE, tableDestroy);
    if (!t)
        return nullptr;
    t->buckets = static_cast<TableEntry **>(zif_zalloc(context, kInitialBuckets * static_cast<int32_t>(sizeof(TableEntry *))));
    if (!t->buckets) {
        zif_release(reinterpret_cast<zif_object *>(t));
        return nullptr;
    }
    t->bucketCount = kInitialBuckets;
    return reinterpret_cast<zif_object *>(t);
}

int32_t zif_tableSetK(zif_object *table, int32_t key, zif_object *object)
{
    if (!zif_asTable(table) || !zif::checkModifiable(table) || !checkKey(table, key) ||
        !zif::containerAcceptsEntry(table, object))
        return 0;
    TableValue *t = tableRecord(table);
    if (t->entryCount >= (4 * t->bucketCount) / 5 && !grow(table))
        return 0;
    if (TableEntry *e = zif::tableFind(t, key)) {
        zif_object *old = e->object;
        e->object = zif_addRef(object);
        releaseEntry(table, old);
        return 1;
    }
    auto *e = static_cast<TableEntry *>(zif_alloc(table->context, sizeof(TableEntry)));
    if (!e)
        return 0;
    TableEntry *&head = bucketOf(t->buckets, t->bucketCount, key);
    *e = TableEntry{key, zif_addRef(object), head};
    head = e;
    ++t->entryCount;
    return 1;
}

int32_t zif_tableSet(zif_object *table, const char *name, zif_object *object)
{
    if (!zif_asTable(table))
        return 0;
    int32_t key = zif_nameToKey(table->context, name);
    return key >= 0 && zif_tableSetK(table, key, object);
}

zif_object *zif_tableGetK(zif_object *table, int32_t key)
{
    if (!zif_asTable(table))
        return nullptr;
    TableEntry *e = key >= 0 ? zif::tableFind(tableRecord(table), key) : nullptr;
    if (!e) {
        zif::fail(table->context, ZIF_ERR_NOT_FOUND);
        return nullptr;
    }
    return zif_addRef(e->object);
}

zif_object *zif_tableGet(zif_object *table, const char *name)
{
    if (!zif_asTable(table))
        return nullptr;
    int32_t key = zif_nameToKey(table->context, name);
    return key >= 0 ? zif_tableGetK(table, key) : nullptr;
}

int32_t zif_tableContainsK(zif_object *table, int32_t key)
{
    return zif_asTable(table) && key >= 0 && zif::tableFind(tableRecord(table), key) != nullptr;
}

int32_t zif_tableContains(zif_object *table, const char *name)
{
    if (!zif_asTable(table))
        return 0;
    int32_t key = zif_nameToKey(table->context, name);
    return key >= 0 && zif_tableContainsK(table, key);
}

int32_t zif_tableRemoveK(zif_object *table, int32_t key)
{
    if (!zif_asTable(table) || !zif::checkModifiable(table))
        return 0;
    TableValue *t = tableRecord(table);
    if (key >= 0) {
        for (TableEntry **link = &bucketOf(t->buckets, t->bucketCount, key); *link; link = &(*link)->next) {
            TableEntry *e = *link;
            if (e->key != key)
                continue;
            *link = e->next;
            zif_object *object = e->object;
            zif_free(table->context, e);
            --t->entryCount;
            releaseEntry(table, object);
            return 1;
        }
    }
    zif::fail(table->context, ZIF_ERR_NOT_FOUND);
    return 0;
}

int32_t zif_tableRemove(zif_object *table, const char *name)
{
    if (!zif_asTable(table))
        return 0;
    int32_t key = zif_nameToKey(table->context, name);
    return key >= 0 && zif_tableRemoveK(table, key);
}

int32_t zif_tableClear(zif_object *table)
{
    if (!zif_asTable(table) || !zif::checkModifiable(table))
        return 0;
    removeAll(table);
    return 1;
}

}  // extern "C"
