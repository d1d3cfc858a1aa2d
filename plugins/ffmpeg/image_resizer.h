// "ffmpeg.imageresizer": nodes of kind "ffmpeg.imageresize" that scale
// planar YUV 4:2:0 pictures to the size and pixel aspect a consumer asks
// for, letterboxed or pillarboxed with black bands to keep the display
// shape, and the builder that inserts one.
#pragma once

#include "framework/include/zif.h"
#include "plugins/ffmpeg/resize_geometry.h"

namespace ffplug {

bool imageResizerRegister(zif_context *context);

// The target a description (a table, or a list whose first table counts)
// asks for: "width", "height" and "pixelaspectratio" as numbers or lists of
// numbers (the first counts).
ResizeTarget resizeTargetOf(zif_object *description);

}  // namespace ffplug
