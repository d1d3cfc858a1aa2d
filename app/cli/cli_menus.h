// The menus of vantorel-cli build: the title menu laid out by the menu
// editor's own rules (the button grid, the default chapter pages), one
// chapter menu per clip with chapters, and the background and music the
// command line names.
#pragma once

#include "app/cli/cli_arguments.h"

#include <string>

namespace vt::menu {
struct MenuDesign;
}
namespace vt::project {
class ClipRecordList;
}

namespace vt::cli {

// Fills design for the probed clips (in request order); "" or why the menus
// cannot be made. The clip records learn their title buttons and chapters.
std::string BuildMenuDesign(const BuildRequest &request, project::ClipRecordList &clips, menu::MenuDesign &design);

} // namespace vt::cli
