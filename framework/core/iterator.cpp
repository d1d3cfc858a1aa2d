// Generic iterators over framework-internal sequences.
#include "framework/core/iterator.h"

namespace zif {

namespace {

struct Iterator {
    zif_object header;
    IteratorNextFunction next;
    IteratorReleaseFunction release;
    void *state;
};

void iteratorDestroy(zif_object *object)
{
    auto *it = reinterpret_cast<Iterator *>(object);
    if (it->release)
        it->release(object->context, it->state);
}

}  // namespace

zif_object *iteratorNew(zif_context *context, IteratorNextFunction next, void *state, IteratorReleaseFunction release)
{
    auto *it = objectNew<Iterator>(context, ZIF_TYPE_ITERATOR, iteratorDestroy);
    if (!it) {
        if (release)
            release(context, state);
        return nullptr;
    }
    it->next = next;
    it->release = release;
    it->state = state;
    return reinterpret_cast<zif_object *>(it);
}

}  // namespace zif

extern "C" zif_object *zif_iteratorNext(zif_object *iterator)
{
    if (!zif::cast(iterator, ZIF_TYPE_ITERATOR))
        return nullptr;
    auto *it = reinterpret_cast<zif::Iterator *>(iterator);
    return it->next(it->state);
}
