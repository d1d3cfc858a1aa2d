// ASCII case folding for names that the original platform compared without
// regard to case (ini sections and keys, file names). Bytes above 0x7F, as
// in UTF-8 text, compare exactly.
#pragma once

#include <string>
#include <string_view>

namespace vt {

std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Strict weak order: case-folded first, then byte order to break ties.
bool lessIgnoreCase(std::string_view a, std::string_view b);

} // namespace vt
