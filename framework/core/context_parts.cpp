// The ordered list of context parts; each layer of the framework adds its own.
#include "framework/core/context_parts.h"
#include "framework/core/log.h"
#include "framework/graph/plugin.h"

namespace zif {

const ContextPart kContextParts[] = {
    {"log", contextLogAttach, contextLogDetach},
    {"plugins", pluginsAttach, pluginsDetach},
};

const size_t kContextPartCount = sizeof kContextParts / sizeof kContextParts[0];

}  // namespace zif
