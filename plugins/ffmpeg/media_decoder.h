// "ffmpeg.decoder": the node that opens a media file named by a static
// "read" command, offers one output port per wanted video or sound stream
// and decodes the file's packets into picture and sound samples with exact
// presentation times. A client creates it by plug-in name.
#pragma once

#include "framework/include/zif.h"

namespace ffplug {

bool mediaDecoderRegister(zif_context *context);

}  // namespace ffplug
