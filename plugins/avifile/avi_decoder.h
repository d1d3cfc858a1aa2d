// The "avifile.decoder" plug-in: a decoder node over the AVI reader that
// offers every video stream as bottom-up 32-bit RGB pictures and every
// sound stream as signed 16-bit PCM.
#pragma once

#include "framework/include/zif.h"

namespace avifile {

bool aviDecoderRegister(zif_context *context);

}  // namespace avifile
