// Registers the built-in plug-ins in their fixed order.
#include "framework/graph/builtin_plugins.h"

#include <vector>

namespace zif {

namespace {

using Register = bool (*)(zif_context *context);

const std::vector<Register> kBuiltins = {};

}  // namespace

bool builtinPluginsRegister(zif_context *context)
{
    for (Register registerPlugin : kBuiltins)
        if (!registerPlugin(context))
            return false;
    return true;
}

}  // namespace zif
