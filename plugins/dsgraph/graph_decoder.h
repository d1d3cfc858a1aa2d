// The "dsgraph.decoder" plug-in: a decoder node that builds one decoding
// pipeline per wanted stream type of a file and pulls its samples one at a
// time from the port work functions.
#pragma once

#include "framework/include/zif.h"

namespace dsgraph {

// Registers the plug-in with the file extensions it claims.
bool graphDecoderRegister(zif_context *context);

}  // namespace dsgraph
