// Plug-in "ffmpeg.audioconvert": converts interleaved PCM sound between
// sample rates, channel layouts, sample widths and signedness; its builder
// lets the graph search place it between sound ports that disagree.
#pragma once

#include "framework/include/zif.h"

namespace ffplug {

bool audioConverterRegister(zif_context *context);

}  // namespace ffplug
