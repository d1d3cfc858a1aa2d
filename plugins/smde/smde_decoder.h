// The decoder plug-ins of an SMDE library: one framework plug-in per
// decoder type, named "smde." + the type's name, whose nodes open a file
// through the type and deliver its pictures (24-bit RGB) and sound blocks.
#pragma once

#include "framework/include/zif.h"
#include "plugins/smde/smde_interface.h"

namespace smde {

// Registers the type as a plug-in; false when the plug-in cannot be made.
// A type without a readable name is passed over (true, nothing registered).
bool smdeDecoderRegister(zif_context *context, SmdeDecoderType *type);

}  // namespace smde
