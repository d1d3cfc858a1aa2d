// What a run does about menus, decided once when the menu steps start and
// read by the composition, the control files and author.xml alike, so that
// the menu VOBs and the authoring script cannot disagree.
#pragma once

#include "app/production/disc_menus.h"
#include "app/production/menu_resources.h"

#include <string>
#include <vector>

namespace vt::production {

class MenuPlan {
public:
    MenuPlan() = default;  // no menus
    // design: the project's menus; resources: the RES pictures as loaded for
    // this run; rootMenuVob: the root-menu background VOB for the run's
    // standard and shape ("" when it does not exist).
    MenuPlan(const DiscMenus &design, int clipCount, const MenuResources &resources, const std::string &rootMenuVob);

    // At least one clip has a title-menu button.
    bool titleMenuWanted() const { return !titleButtonClips_.empty(); }
    bool hasTitleButton(int clip) const;
    // The clips with a title-menu button, in list order (the title menu's
    // buttons after the back button).
    const std::vector<int> &titleButtonClips() const { return titleButtonClips_; }
    // The clips that get a chapter menu, in list order: titleset menus 2, 3,
    // … in this order.
    const std::vector<int> &chapterMenuClips() const { return chapterMenuClips_; }
    bool hasChapterMenu(int clip) const;
    bool backButtonsPossible() const { return backButtonsPossible_; }
    // The root menu: "" when not possible.
    const std::string &rootMenuVob() const { return rootMenuVob_; }
    bool rootMenuPossible() const { return !rootMenuVob_.empty(); }

    // The page's music file exists: the menu VOB carries it for the menu
    // duration and author.xml loops it; otherwise a short silent still held
    // forever.
    bool titleMenuHasMusic() const { return titleMusic_; }
    bool chapterMenuHasMusic(int clip) const;

    // The title page with one button per clip of titleButtonClips().
    MenuPage titlePage() const;
    const MenuPage &chapterPage(int clip) const;

    // What this run made (never a file left over from another run).
    void setTitleMenuMade() { titleMenuMade_ = true; }
    bool titleMenuMade() const { return titleMenuMade_; }
    void setChapterMenuMade(int clip);
    bool chapterMenuMade(int clip) const;

private:
    DiscMenus design_;
    std::vector<int> titleButtonClips_, chapterMenuClips_;
    std::vector<bool> chapterMenuMade_;
    std::vector<bool> chapterMusic_;
    bool titleMusic_ = false;
    bool backButtonsPossible_ = false;
    std::string rootMenuVob_;
    bool titleMenuMade_ = false;
};

} // namespace vt::production
