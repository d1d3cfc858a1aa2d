// The frame rate converter node: retimes "yuv.separate" frames to an exact
// output rate, blending neighbouring frames.
#pragma once

#include "framework/core/object.h"

namespace zif {

// The converter's port templates: {"portclass": "data", "format":
// "yuv.separate"}, and the same with "framerateexact" = 1 (new references).
zif_object *framerateTemplate(zif_context *context, bool exact);

// Adds a converter node; the geometry entries of overlap (when given) are
// copied into both port descriptions. The node with a new reference, or null.
zif_object *framerateConverterCreate(zif_object *graph, zif_object *overlap);

}  // namespace zif
