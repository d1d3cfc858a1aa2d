// The menus of a disc as the production chains read them: the title page
// and, per clip in list order, its title-menu button and chapter page, made
// from the menu editor's design (app/menu) for one run.
#pragma once

#include "app/production/menu_page.h"

#include <optional>
#include <vector>

namespace vt::menu {
struct MenuDesign;
}
namespace vt::project {
class ClipRecordList;
}

namespace vt::production {

struct DiscMenus {
    // Background, music, labels and back-button place of the title menu; its
    // buttons come from titleButtons.
    MenuPage titlePage;
    std::vector<std::optional<MenuButton>> titleButtons;  // per clip
    std::vector<std::optional<MenuPage>> chapterPages;     // per clip
    bool chapterMenusEnabled = false;                      // the editor's add-menu box
};

// The design's pages for the clips in list order. The button pictures are
// copies: the result does not refer to the design or the clips.
DiscMenus MakeDiscMenus(const menu::MenuDesign &design, const project::ClipRecordList &clips);

} // namespace vt::production
