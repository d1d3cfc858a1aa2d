// The English name of the user's language ("English", "German", …), as the
// settings' first run uses it to pick a subtitle language. The locale is the
// one the environment selects for messages (LC_ALL, then LC_MESSAGES, then
// LANG); the C and POSIX locales count as English.
#pragma once

#include <string>

namespace vt {

// At most 30 characters.
std::string userLanguageEnglishName();

} // namespace vt
