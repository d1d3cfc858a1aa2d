// The two commands of vantorel-cli; each returns the exit status.
#pragma once

#include "app/cli/cli_arguments.h"

#include <ostream>

namespace vt::cli {

int RunProbe(const std::vector<std::string> &files, std::ostream &out);
int RunBuild(const BuildRequest &request, std::ostream &out);

} // namespace vt::cli
