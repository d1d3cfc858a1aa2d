// The designed menus of a project as the production chains read them: the
// title page and, per clip in list order, its title-menu button and chapter
// page. The menu editor's design (or vantorel-cli's layout) fills it.
#pragma once

#include "app/production/menu_page.h"

#include <optional>
#include <vector>

namespace vt::production {

struct MenuDesign {
    // Background, music, labels and back-button place of the title menu; its
    // buttons come from titleButtons.
    MenuPage titlePage;
    std::vector<std::optional<MenuButton>> titleButtons;  // per clip
    std::vector<std::optional<MenuPage>> chapterPages;     // per clip
    bool chapterMenusEnabled = false;                      // the editor's add-menu box
};

} // namespace vt::production
