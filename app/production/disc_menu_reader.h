// Test support: reading back the menus of an authored DVD folder with the
// dvdauthor package's own tools — the button commands (dvdunauthor) and the
// button rectangles of a menu VOB's subpicture stream (spuunmux).
#pragma once

#include "app/production/menu_mapping.h"

#include <string>
#include <vector>

namespace vt::production {

struct DiscMenuProgram {
    bool vmgm = false;                  // the root menu's domain; otherwise titleset 1
    std::string entry;                  // "title", "root" or ""
    std::string vobFile;                // the menu VOB dvdunauthor extracted, full path
    std::vector<std::string> buttons;   // button commands in order, e.g. "jump title 2;"
    int firstButton = 0;                // the button the menu starts on (its <pre>)
};

// Every menu program of the DVD folder, the root menus first, each with
// dvdunauthor's VOB extracted into scratch (made empty first).
std::vector<DiscMenuProgram> ReadDiscMenus(const std::string &dvdFolder, const std::string &scratch);

// The button rectangles of the first subpicture of a menu VOB, in button order.
std::vector<EdgeRect> ReadSpuButtons(const std::string &vob, const std::string &scratch);

// The button lines of a spumux control file, in order.
std::vector<EdgeRect> ReadControlFileButtons(const std::string &controlFile);

} // namespace vt::production
