// The program's built-in English texts, by number. UI language files
// replace them (section "Text", key = number).
#pragma once

namespace vt::common {

inline constexpr int kUiTextCount = 158;

// The built-in text, or nullptr for a number the program does not use.
const char *BuiltInUIText(int number);

} // namespace vt::common
