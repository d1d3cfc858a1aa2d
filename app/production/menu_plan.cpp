#include "app/production/menu_plan.h"

#include <algorithm>
#include <filesystem>

namespace vt::production {

namespace {

bool isFile(const std::string &path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

MenuPlan::MenuPlan(const DiscMenus &design, int clipCount, const MenuResources &resources,
                   const std::string &rootMenuVob)
    : design_(design)
    , chapterMenuMade_(clipCount, false)
    , chapterMusic_(clipCount, false)
    , backButtonsPossible_(resources.backButtonsPossible())
{
    design_.titleButtons.resize(clipCount);
    design_.chapterPages.resize(clipCount);
    for (int i = 0; i < clipCount; ++i) {
        if (design_.titleButtons[i])
            titleButtonClips_.push_back(i);
        if (design_.chapterMenusEnabled && design_.chapterPages[i]) {
            chapterMenuClips_.push_back(i);
            chapterMusic_[i] = isFile(design_.chapterPages[i]->musicFile);
        }
    }
    titleMusic_ = isFile(design_.titlePage.musicFile);
    if (titleMenuWanted())
        rootMenuVob_ = rootMenuVob;
}

bool MenuPlan::hasTitleButton(int clip) const
{
    return std::find(titleButtonClips_.begin(), titleButtonClips_.end(), clip) != titleButtonClips_.end();
}

bool MenuPlan::hasChapterMenu(int clip) const
{
    return std::find(chapterMenuClips_.begin(), chapterMenuClips_.end(), clip) != chapterMenuClips_.end();
}

MenuPage MenuPlan::titlePage() const
{
    MenuPage page = design_.titlePage;
    page.buttons.clear();
    for (int clip : titleButtonClips_)
        page.buttons.push_back(*design_.titleButtons[clip]);
    return page;
}

const MenuPage &MenuPlan::chapterPage(int clip) const
{
    return *design_.chapterPages.at(clip);
}

bool MenuPlan::chapterMenuHasMusic(int clip) const
{
    return clip >= 0 && clip < static_cast<int>(chapterMusic_.size()) && chapterMusic_[clip];
}

void MenuPlan::setChapterMenuMade(int clip)
{
    if (hasChapterMenu(clip))
        chapterMenuMade_[clip] = true;
}

bool MenuPlan::chapterMenuMade(int clip) const
{
    return clip >= 0 && clip < static_cast<int>(chapterMenuMade_.size()) && chapterMenuMade_[clip];
}

} // namespace vt::production
