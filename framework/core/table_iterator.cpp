// Table iterators: walk the keys of a table in its iteration order.
#include "framework/core/container.h"

namespace {

struct TableIterator {
    zif_object header;
    zif_object *table;
    int32_t bucket;
    zif::TableEntry *entry;
};

TableIterator *iteratorRecord(zif_object *o) { return reinterpret_cast<TableIterator *>(o); }

// Moves to the first entry at or after `bucket`.
void seek(TableIterator *it, int32_t bucket)
{
    zif::TableValue *t = zif::tableRecord(it->table);
    for (it->bucket = bucket; it->bucket < t->bucketCount; ++it->bucket) {
        if ((it->entry = t->buckets[it->bucket]))
            return;
    }
    it->entry = nullptr;
}

void tableIteratorDestroy(zif_object *o) { zif_release(iteratorRecord(o)->table); }

}  // namespace

extern "C" {

zif_object *zif_tableCreateIterator(zif_object *table)
{
    if (!zif_asTable(table))
        return nullptr;
    auto *it = zif::objectNew<TableIterator>(table->context, ZIF_TYPE_TABLE_ITERATOR, tableIteratorDestroy);
    if (!it)
        return nullptr;
    it->table = zif_addRef(table);
    seek(it, 0);
    return reinterpret_cast<zif_object *>(it);
}

int32_t zif_tableIteratorNext(zif_object *iterator)
{
    if (!zif::cast(iterator, ZIF_TYPE_TABLE_ITERATOR))
        return -1;
    TableIterator *it = iteratorRecord(iterator);
    if (!it->entry)
        return -1;
    int32_t key = it->entry->key;
    if (it->entry->next)
        it->entry = it->entry->next;
    else
        seek(it, it->bucket + 1);
    return key;
}

zif_object *zif_tableIteratorReset(zif_object *iterator)
{
    if (!zif::cast(iterator, ZIF_TYPE_TABLE_ITERATOR))
        return nullptr;
    seek(iteratorRecord(iterator), 0);
    return iterator;
}

}  // extern "C"
