// Copying one entry of a description into another description (or into
// every alternative of a list of descriptions).
#include "framework/core/container.h"

extern "C" int32_t zif_copyDescriptionEntry(zif_object *destination, zif_object *source, const char *name)
{
    zif_context *context = zif::isValid(destination) ? destination->context : zif::isValid(source) ? source->context : nullptr;
    auto refuse = [context] {
        zif::fail(context, ZIF_ERR_CONVERSION);
        return 0;
    };
    if (!zif::isValid(source) || !name)
        return refuse();
    if (source->type == ZIF_TYPE_TABLE) {
        if (!zif::isValid(destination))
            return refuse();
        if (destination->type == ZIF_TYPE_TABLE)
            return zif_tableSetFromTable(destination, source, name);
        if (destination->type != ZIF_TYPE_LIST)
            return refuse();
        zif::ListValue *list = zif::listRecord(destination);
        for (zif_list_link *l = list->head.next; l != &list->tail; l = l->next)
            if (!zif_copyDescriptionEntry(l->object, source, name))
                return 0;
        return 1;
    }
    if (source->type == ZIF_TYPE_LIST && zif::listRecord(source)->entryCount > 0) {
        zif_object *first = zif::listRecord(source)->head.next->object;
        if (!zif::isValid(first) || first->type != ZIF_TYPE_TABLE)
            return refuse();
        return zif_copyDescriptionEntry(destination, first, name);
    }
    return refuse();
}
