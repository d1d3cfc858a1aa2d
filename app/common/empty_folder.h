// Emptying a folder: everything below it goes, the folder itself stays.
#pragma once

#include <string>

namespace vt::common {

// Deletes every file and folder below folder. Symbolic links are removed as
// links and never followed, so nothing outside the folder is touched. False
// when something could not be removed (the rest is still removed) or when
// folder is empty, "/" or not a folder.
bool EmptyFolder(const std::string &folder);

} // namespace vt::common
