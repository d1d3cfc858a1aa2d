// What the menu steps and the authoring script share about a run's menus.
// The window that opens a production window sets the first two.
#pragma once

namespace vt::production {

struct MenuFlags {
    bool titleMenuWanted = false;      // a clip has a title-menu button
    bool chapterMenusEnabled = false;  // the menu editor's add-menu box
    bool backButtonsPossible = false;  // both back-button pictures exist and loaded
};

} // namespace vt::production
