// Sizes of files and folders, in 64-bit arithmetic throughout.
#pragma once

#include <cstdint>
#include <string>

namespace vt::common {

// Bytes of a file; 0 when it cannot be opened.
int64_t FileSize(const std::string &path);

// Adds the bytes of every file below folder to total. Symbolic links are
// not followed (a link to a file does not count, a link to a folder is not
// entered), so a loop of links cannot make it run forever.
void FolderSize(const std::string &folder, uint64_t &total);

} // namespace vt::common
