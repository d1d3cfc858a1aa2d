// The ordered list of context parts; each layer of the framework adds its own.
#include "framework/core/context_parts.h"
#include "framework/core/log.h"

namespace zif {

const ContextPart kContextParts[] = {
    {"log", contextLogAttach, contextLogDetach},
};

const size_t kContextPartCount = sizeof kContextParts / sizeof kContextParts[0];

}  // namespace zif
