// Parts of file names.
#pragma once

#include <string>

namespace vt::common {

// The path without the extension of its last component: "/a/b.c/clip.avi"
// → "/a/b.c/clip"; a name without a dot, or a dot file, stays as it is.
std::string FileNameWithoutExtension(const std::string &path);

} // namespace vt::common
