// Plug-in "ffmpeg.encoder": compresses pictures and sound with libavcodec.
// Its builders place an encoder in front of a consumer asking for one of the
// offered formats or behind a producer of 4:2:0 pictures or 16-bit PCM; the
// consumer's description carries the encoder settings.
#pragma once

#include "framework/include/zif.h"

namespace ffplug {

bool mediaEncoderRegister(zif_context *context);

}  // namespace ffplug
