// One dvdauthor run over an authoring project file.
#pragma once

#include <string>

namespace authoring {

// 0 on success, else dvdauthor's non-zero exit status (1 when it exited with
// 0 after an ERR: line, -1 when it could not be started). The megabytes of
// its progress lines go to megabytes as they come.
int run_dvdauthor(const std::string &project, int &megabytes, std::string *error);

} // namespace authoring
