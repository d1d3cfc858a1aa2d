#include "app/production/menu_plan.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace vt::production {
namespace {

MenuResources withBackPictures(bool shape)
{
    MenuResources r;
    r.backBmp = QImage(8, 8, QImage::Format_RGB32);
    if (shape)
        r.backPng = QImage(8, 8, QImage::Format_RGB32);
    return r;
}

TEST(MenuPlan, DecidedOnceFromTheDesign)
{
    QTemporaryDir dir;
    const std::string music = dir.filePath("music.mp3").toStdString();
    std::ofstream(music) << "sound";
    DiscMenus menus;
    menus.titlePage.musicFile = music;
    menus.titleButtons = {std::nullopt, MenuButton{}, MenuButton{}};
    MenuPage chapters;
    chapters.musicFile = dir.filePath("gone.mp3").toStdString();
    // The first clip has a chapter page but no title button: it still counts
    // in the one list of chapter menus.
    menus.chapterPages = {chapters, std::nullopt, chapters};

    struct {
        const char *name;
        bool chapterMenusEnabled;
        bool backShape;
        std::vector<int> chapterMenuClips;
    } cases[] = {
        {"chapter menus on", true, true, {0, 2}},
        {"chapter menus off", false, true, {}},
        {"no back shape", true, false, {0, 2}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        menus.chapterMenusEnabled = c.chapterMenusEnabled;
        MenuPlan plan(menus, 3, withBackPictures(c.backShape), "/p/RES/MainSubP.vob");
        EXPECT_TRUE(plan.titleMenuWanted());
        EXPECT_EQ(plan.titleButtonClips(), (std::vector<int>{1, 2}));
        EXPECT_EQ(plan.titlePage().buttons.size(), 2u);
        EXPECT_EQ(plan.chapterMenuClips(), c.chapterMenuClips);
        EXPECT_EQ(plan.backButtonsPossible(), c.backShape);
        EXPECT_EQ(plan.rootMenuVob(), "/p/RES/MainSubP.vob");
        EXPECT_TRUE(plan.titleMenuHasMusic());
        EXPECT_FALSE(plan.chapterMenuHasMusic(0));  // its music file does not exist
        // Nothing counts as made until the steps say so.
        EXPECT_FALSE(plan.titleMenuMade());
        EXPECT_FALSE(plan.chapterMenuMade(0));
        plan.setChapterMenuMade(0);
        plan.setChapterMenuMade(1);  // has no chapter menu: ignored
        EXPECT_EQ(plan.chapterMenuMade(0), c.chapterMenusEnabled);
        EXPECT_FALSE(plan.chapterMenuMade(1));
    }
}

TEST(MenuPlan, NoTitleButtonNoTitleOrRootMenu)
{
    DiscMenus menus;
    menus.titleButtons = {std::nullopt};
    menus.chapterPages = {MenuPage{}};
    menus.chapterMenusEnabled = true;
    const MenuPlan plan(menus, 1, withBackPictures(true), "/p/RES/MainSubP.vob");
    EXPECT_FALSE(plan.titleMenuWanted());
    EXPECT_FALSE(plan.rootMenuPossible());
    EXPECT_EQ(plan.chapterMenuClips(), (std::vector<int>{0}));
    EXPECT_FALSE(MenuPlan().titleMenuWanted());
}

} // namespace
} // namespace vt::production
