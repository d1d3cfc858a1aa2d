// Generic iterators (tag 100010): zif_iteratorNext calls their next function.
#pragma once

#include "framework/core/object.h"

namespace zif {

// Returns the next object with a new reference, or null at the end.
using IteratorNextFunction = zif_object *(*)(void *state);
// Releases what the state holds; called when the iterator goes away.
using IteratorReleaseFunction = void (*)(zif_context *context, void *state);

zif_object *iteratorNew(zif_context *context, IteratorNextFunction next, void *state, IteratorReleaseFunction release);

}  // namespace zif
