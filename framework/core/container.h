// Table and list records, shared by the containers and the value operations.
#pragma once

#include "framework/core/value.h"

struct zif_list_link {
    zif_list_link *prev;
    zif_list_link *next;
    zif_object *object;
};

namespace zif {

struct ListValue {
    Value value;
    int32_t maxEntryCount;  // -1: unlimited
    int32_t entryCount;
    zif_list_link head;     // sentinel before the first link
    zif_list_link tail;     // sentinel after the last link; zif_listEnd
};

struct TableEntry {
    int32_t key;
    zif_object *object;
    TableEntry *next;
};

struct TableValue {
    Value value;
    TableEntry **buckets;
    int32_t bucketCount;
    int32_t entryCount;
};

inline ListValue *listRecord(zif_object *o) { return reinterpret_cast<ListValue *>(o); }
inline TableValue *tableRecord(zif_object *o) { return reinterpret_cast<TableValue *>(o); }

// The entry of key, or null.
TableEntry *tableFind(TableValue *table, int32_t key);

// False, with error 2, when object is container or contains it at any depth.
bool containerAcceptsEntry(zif_object *container, zif_object *object);

// Calls visit(key, object) for every entry in iteration order: bucket by
// bucket from 0, newest first within a bucket.
template <typename Visit>
void tableForEach(TableValue *table, Visit visit)
{
    for (int32_t b = 0; b < table->bucketCount; ++b)
        for (TableEntry *e = table->buckets[b]; e; e = e->next)
            visit(e->key, e->object);
}

template <typename Visit>
void listForEach(ListValue *list, Visit visit)
{
    for (zif_list_link *l = list->head.next; l != &list->tail; l = l->next)
        visit(l->object);
}

template <typename Visit>
void containerForEach(zif_object *container, Visit visit)
{
    if (container->type == ZIF_TYPE_TABLE)
        tableForEach(tableRecord(container), [&](int32_t, zif_object *o) { visit(o); });
    else if (container->type == ZIF_TYPE_LIST)
        listForEach(listRecord(container), visit);
}

}  // namespace zif
