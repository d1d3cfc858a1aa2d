// Lists: a doubly linked sequence of objects with an optional maximum count.
#include "framework/core/container.h"

using zif::ListValue;
using zif::listRecord;

namespace {

bool isSentinel(ListValue *list, zif_list_link *link) { return link == &list->head || link == &list->tail; }

// Drops the list's hold on an object leaving it.
void releaseEntry(zif_object *list, zif_object *object)
{
    zif::valueInheritLocks(object, -zif::containerLockContribution(list));
    zif_release(object);
}

void unlink(zif_object *list, zif_list_link *link)
{
    link->prev->next = link->next;
    link->next->prev = link->prev;
    --listRecord(list)->entryCount;
    zif_free(list->context, link);
}

void listDestroy(zif_object *list)
{
    ListValue *l = listRecord(list);
    while (l->head.next != &l->tail) {
        zif_list_link *link = l->head.next;
        zif_object *object = link->object;
        unlink(list, link);
        releaseEntry(list, object);
    }
}

// A valid, unlocked list, or null with the error recorded.
zif_object *modifiableList(zif_object *list)
{
    zif_object *l = zif_asList(list);
    return l && zif::checkModifiable(l) ? l : nullptr;
}

// Checks a position that must be a link holding an entry.
bool checkEntryPosition(zif_object *list, zif_list_link *position)
{
    if (!position || isSentinel(listRecord(list), position)) {
        zif::fail(list->context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    return true;
}

zif_list_link *addNewValue(zif_object *list, zif_object *value)
{
    if (!value)
        return nullptr;
    zif_list_link *position = zif_listAdd(list, value);
    zif_release(value);
    return position;
}

}  // namespace

extern "C" {

zif_object *zif_newList(zif_context *context)
{
    auto *l = zif::objectNew<ListValue>(context, ZIF_TYPE_LIST, listDestroy);
    if (!l)
        return nullptr;
    l->maxEntryCount = -1;
    l->head.next = &l->tail;
    l->tail.prev = &l->head;
    return reinterpret_cast<zif_object *>(l);
}

zif_list_link *zif_listInsert(zif_object *list, zif_list_link *position, zif_object *object)
{
    if (!modifiableList(list))
        return nullptr;
    ListValue *l = listRecord(list);
    if (!position || position == &l->head) {
        zif::fail(list->context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    if (l->maxEntryCount >= 0 && l->entryCount >= l->maxEntryCount) {
        zif::fail(list->context, ZIF_ERR_LIST_FULL);
        return nullptr;
    }
    if (!zif::containerAcceptsEntry(list, object))
        return nullptr;
    auto *link = static_cast<zif_list_link *>(zif_alloc(list->context, sizeof(zif_list_link)));
    if (!link)
        return nullptr;
    link->object = zif_addRef(object);
    link->next = position;
    link->prev = position->prev;
    position->prev->next = link;
    position->prev = link;
    ++l->entryCount;
    return link;
}

zif_list_link *zif_listAdd(zif_object *list, zif_object *object)
{
    if (!zif_asList(list))
        return nullptr;
    return zif_listInsert(list, &listRecord(list)->tail, object);
}

zif_list_link *zif_listAddString(zif_object *list, const char *text)
{
    return modifiableList(list) ? addNewValue(list, zif_newString(list->context, text)) : nullptr;
}

zif_list_link *zif_listAddInt(zif_object *list, int64_t value)
{
    return modifiableList(list) ? addNewValue(list, zif_newInt(list->context, value)) : nullptr;
}

zif_list_link *zif_listAddDouble(zif_object *list, double value)
{
    return modifiableList(list) ? addNewValue(list, zif_newDouble(list->context, value)) : nullptr;
}

zif_list_link *zif_listRemove(zif_object *list, zif_list_link *position)
{
    if (!modifiableList(list) || !checkEntryPosition(list, position))
        return nullptr;
    zif_list_link *next = position->next;
    zif_object *object = position->object;
    unlink(list, position);
    releaseEntry(list, object);
    return next;
}

zif_object *zif_listRemoveFirst(zif_object *list)
{
    if (!modifiableList(list))
        return nullptr;
    ListValue *l = listRecord(list);
    if (l->entryCount == 0) {
        zif::fail(list->context, ZIF_ERR_LIST_EMPTY);
        return nullptr;
    }
    zif_object *object = l->head.next->object;
    unlink(list, l->head.next);
    // The list's reference passes to the caller.
    zif::valueInheritLocks(object, -zif::containerLockContribution(list));
    return object;
}

int32_t zif_listClear(zif_object *list)
{
    if (!modifiableList(list))
        return 0;
    listDestroy(list);
    return 1;
}

int32_t zif_listSet(zif_object *list, zif_list_link *position, zif_object *object)
{
    if (!modifiableList(list) || !checkEntryPosition(list, position) || !zif::containerAcceptsEntry(list, object))
        return 0;
    zif_object *old = position->object;
    position->object = zif_addRef(object);
    releaseEntry(list, old);
    return 1;
}

zif_object *zif_listGet(zif_object *list, zif_list_link *position)
{
    if (!zif_asList(list) || !checkEntryPosition(list, position))
        return nullptr;
    return zif_addRef(position->object);
}

zif_object *zif_listNext(zif_object *list, zif_list_link **position)
{
    if (!zif_asList(list))
        return nullptr;
    if (!position || !checkEntryPosition(list, *position)) {
        zif::fail(list->context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    zif_object *object = zif_addRef((*position)->object);
    *position = (*position)->next;
    return object;
}

zif_list_link *zif_listBegin(zif_object *list) { return zif_asList(list) ? listRecord(list)->head.next : nullptr; }

zif_list_link *zif_listEnd(zif_object *list) { return zif_asList(list) ? &listRecord(list)->tail : nullptr; }

int32_t zif_listGetEntryCount(zif_object *list) { return zif_asList(list) ? listRecord(list)->entryCount : 0; }

int32_t zif_listGetMaxEntryCount(zif_object *list) { return zif_asList(list) ? listRecord(list)->maxEntryCount : 0; }

int32_t zif_listSetMaxEntryCount(zif_object *list, int32_t n)
{
    if (!modifiableList(list))
        return 0;
    if (n < -1) {
        zif::fail(list->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    listRecord(list)->maxEntryCount = n;
    return 1;
}

int32_t zif_listHasFreeSlots(zif_object *list, int32_t n)
{
    if (!zif_asList(list))
        return 0;
    ListValue *l = listRecord(list);
    return l->maxEntryCount == -1 || static_cast<int64_t>(l->maxEntryCount) >= static_cast<int64_t>(n) + l->entryCount;
}

}  // extern "C"
