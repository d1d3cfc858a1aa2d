// "ffmpeg.imageconverter": nodes of kind "ffmpeg.imageconvert" that convert
// pictures between the module's four pixel layouts at the same size, and the
// builder that inserts one where a producer and a consumer differ in layout.
#pragma once

#include "framework/include/zif.h"

namespace ffplug {

bool imageConverterRegister(zif_context *context);

}  // namespace ffplug
