// Refusing to store a container inside itself: a table or list reachable
// from its own contents would make every recursive walk (clone, compare,
// XML text, lock propagation) endless and keep itself alive forever.
#include "framework/core/container.h"
#include "framework/core/context.h"

namespace zif {

namespace {

bool reaches(zif_object *value, zif_object *container)
{
    if (value == container)
        return true;
    if (!value || (value->type != ZIF_TYPE_TABLE && value->type != ZIF_TYPE_LIST))
        return false;
    bool found = false;
    containerForEach(value, [&](zif_object *o) { found = found || reaches(o, container); });
    return found;
}

}  // namespace

bool containerAcceptsEntry(zif_object *container, zif_object *object)
{
    if (!reaches(object, container))
        return true;
    fail(container->context, ZIF_ERR_INVALID_ARGUMENT);
    return false;
}

}  // namespace zif
