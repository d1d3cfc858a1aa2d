#include "app/production/disc_menus.h"

#include "app/menu/menu_design.h"
#include "app/project/clip_record.h"

namespace vt::production {

namespace {

EdgeRect edgesOf(const QRect &r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QColor colourOf(uint32_t value)  // 0x00BBGGRR
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::vector<MenuLabel> labelsOf(const std::vector<menu::TextItem> &texts)
{
    std::vector<MenuLabel> labels;
    for (const menu::TextItem &t : texts)
        labels.push_back({edgesOf(t.bounds), t.text, t.fontName, t.fontSize, colourOf(t.colour), t.bold, t.italic,
                          t.underline, t.strikeout});
    return labels;
}

MenuButton buttonOf(const menu::MenuButton &button, const QImage &picture, int32_t chapterTime = 0)
{
    MenuButton b;
    b.bounds = edgesOf(button.bounds);
    b.pictureAt = [button, picture](int w, int h) { return button.pictureAtSize(picture, QSize(w, h)); };
    b.chapterTime = chapterTime;
    return b;
}

} // namespace

DiscMenus MakeDiscMenus(const menu::MenuDesign &design, const project::ClipRecordList &clips)
{
    DiscMenus menus;
    menus.titlePage.backgroundFile = design.titlePage.backgroundFile;
    menus.titlePage.musicFile = design.titlePage.musicFile;
    menus.titlePage.labels = labelsOf(design.titlePage.texts);
    menus.titlePage.backLeft = design.titlePage.backButton.x();
    menus.titlePage.backTop = design.titlePage.backButton.y();
    menus.chapterMenusEnabled = design.chapterMenus;
    for (int i = 0; i < clips.count(); ++i) {
        const menu::ClipMenu *clipMenu = design.menuOf(clips[i]);
        std::optional<MenuButton> titleButton;
        std::optional<MenuPage> chapterPage;
        if (clipMenu && clipMenu->titleButton)
            titleButton = buttonOf(*clipMenu->titleButton, clips[i].snapshot);
        if (clipMenu && clipMenu->chapterPage) {
            const menu::ChapterPage &source = *clipMenu->chapterPage;
            MenuPage page;
            page.backgroundFile = source.backgroundFile;
            page.musicFile = source.musicFile;
            page.labels = labelsOf(source.texts);
            for (const menu::ChapterButton &button : source.buttons)
                page.buttons.push_back(buttonOf(button, button.picture, button.chapterTime));
            page.backLeft = source.backButton.x();
            page.backTop = source.backButton.y();
            chapterPage = std::move(page);
        }
        menus.titleButtons.push_back(std::move(titleButton));
        menus.chapterPages.push_back(std::move(chapterPage));
    }
    return menus;
}

} // namespace vt::production
