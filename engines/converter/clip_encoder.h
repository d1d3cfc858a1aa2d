// Converts one clip (a trimmed range of a media file) into a DVD program
// stream: decode, deinterlace, frame rate conversion, scale and pad, encode.
#pragma once

#include <string>

#include "engines/converter/clip_encode_settings.h"
#include "engines/converter/conversion_progress.h"

namespace corvane {

// Runs the whole conversion on the calling thread, reporting to progress and
// honouring its stop request (the file is then completed early). False with
// *error when the conversion failed.
bool encode_clip(const ClipEncodeSettings &settings, ConversionProgress &progress, std::string *error);

} // namespace corvane
