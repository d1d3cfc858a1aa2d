// Text conversions shared inside the framework.
#pragma once

#include "framework/core/context.h"

namespace zif {

// The UTF-8 text in the character set of the user's locale (LC_CTYPE from
// the environment), as a block from the context; null with error 14 when
// a character cannot be represented or the conversion is unavailable.
char *utf8ToLocaleCharset(zif_context *context, const char *text);

}  // namespace zif
