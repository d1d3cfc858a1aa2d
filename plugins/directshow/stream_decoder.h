// The "directshow.decoder" plug-in: a decoder node reading the primary
// picture and sound streams of a file sample by sample, with a control port
// to seek a running decoder, and a graph builder that puts one behind every
// static "read" command.
#pragma once

#include "framework/include/zif.h"

namespace directshow {

bool streamDecoderRegister(zif_context *context);

}  // namespace directshow
