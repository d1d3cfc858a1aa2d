// Checks on UTF-8 text: what the XML files for dvdauthor and spumux can hold.
#pragma once

#include <string>
#include <string_view>

namespace vt::production {

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code
// points past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// True when text holds a control character (U+0000 to U+001F, or DEL): a
// line break or tab in a path that the control files cannot carry.
bool HasControlCharacter(std::string_view text);

} // namespace vt::production
