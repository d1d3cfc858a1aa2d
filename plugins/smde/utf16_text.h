// UTF-16 text from an outside library, read with a bound so that a string
// missing its terminator is refused instead of read past its end.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace smde {

// Converts the zero-terminated s to UTF-8; false when s is null or has no
// terminator within maxUnits code units. Unpaired surrogates become U+FFFD.
bool utf16ToUtf8(const char16_t *s, size_t maxUnits, std::string *out, size_t *unitsRead = nullptr);

// A list of zero-terminated strings ended by an empty string, within
// maxUnits code units in all; false when the list has no end there.
bool utf16ListToUtf8(const char16_t *list, size_t maxUnits, std::vector<std::string> *out);

}  // namespace smde
