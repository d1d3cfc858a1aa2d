// The plug-ins every context starts with, registered in this order:
// "connect", "filereader", "filewriter", "disableoptional", "framerateconvert".
#pragma once

#include "framework/core/context.h"

namespace zif {

bool builtinPluginsRegister(zif_context *context);

}  // namespace zif
