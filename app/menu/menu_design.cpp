#include "app/menu/menu_design.h"

#include "app/project/clip_record.h"
#include "app/common/project_reset.h"

#include <algorithm>

namespace vt::menu {

namespace {

bool containsClip(const project::ClipRecordList &list, const project::ClipRecord *clip)
{
    for (int i = 0; i < list.count(); ++i)
        if (&list[i] == clip)
            return true;
    return false;
}

// The clip record says what it had on the menus when its design was last
// written to it; a record that says otherwise is another clip.
bool recordMatches(const ClipMenu &menu)
{
    const project::ClipRecord &clip = *menu.clip;
    if (clip.hasTitleButton != (menu.titleButton != nullptr))
        return false;
    if ((clip.chapters != nullptr) != (menu.chapterPage != nullptr))
        return false;
    return !clip.chapters || clip.chapters->times() == menu.chapterPage->times();
}

} // namespace

QSize MenuButton::pictureSize() const
{
    return {bounds.width() - 2 * kButtonBorder, bounds.height() - 2 * kButtonBorder};
}

std::vector<int32_t> ChapterPage::times() const
{
    std::vector<int32_t> result;
    for (const ChapterButton &button : buttons)
        result.push_back(button.chapterTime);
    return result;
}

void TitlePage::clearTexts()
{
    texts.clear();
    headingRemoved = false;
    captionsRemoved.clear();
}

QImage ClipMenu::titleButtonPicture(QSize size) const
{
    if (!titleButton || !clip)
        return {};
    return titleButton->pictureAtSize(clip->snapshot, size);
}

ClipMenu *MenuDesign::menuOf(const project::ClipRecord &clip)
{
    for (ClipMenu &menu : clips)
        if (menu.clip == &clip)
            return &menu;
    return nullptr;
}

const ClipMenu *MenuDesign::menuOf(const project::ClipRecord &clip) const
{
    return const_cast<MenuDesign *>(this)->menuOf(clip);
}

ClipMenu &MenuDesign::menuFor(const project::ClipRecord &clip)
{
    if (ClipMenu *menu = menuOf(clip))
        return *menu;
    clips.push_back(ClipMenu{&clip, nullptr, nullptr});
    return clips.back();
}

bool MenuDesign::titleMenuWanted(const project::ClipRecordList &list) const
{
    for (int i = 0; i < list.count(); ++i) {
        const ClipMenu *menu = menuOf(list[i]);
        if (menu && menu->titleButton)
            return true;
    }
    return false;
}

void MenuDesign::dropMissingClips(const project::ClipRecordList &list)
{
    std::erase_if(clips, [&](const ClipMenu &menu) { return !containsClip(list, menu.clip) || !recordMatches(menu); });
    std::erase_if(titlePage.texts, [&](const TextItem &text) {
        if (text.role != TextRole::Caption)
            return false;
        const ClipMenu *menu = nullptr;
        for (const ClipMenu &m : clips)
            if (m.clip == text.captionOf)
                menu = &m;
        return !menu || !menu->titleButton;
    });
    std::erase_if(titlePage.captionsRemoved, [&](const project::ClipRecord *clip) {
        return std::none_of(clips.begin(), clips.end(),
                            [clip](const ClipMenu &m) { return m.clip == clip && m.titleButton; });
    });
}

void MenuDesign::clearClips()
{
    clips.clear();
    titlePage.musicFile.clear();
    std::erase_if(titlePage.texts, [](const TextItem &text) { return text.role == TextRole::Caption; });
    titlePage.captionsRemoved.clear();
}

void MenuDesign::dropCaption(const project::ClipRecord *clip)
{
    std::erase_if(titlePage.texts,
                  [clip](const TextItem &text) { return text.role == TextRole::Caption && text.captionOf == clip; });
    std::erase(titlePage.captionsRemoved, clip);
}

void WriteToClipRecord(const ClipMenu &menu, project::ClipRecord &clip)
{
    clip.hasTitleButton = menu.titleButton != nullptr;
    if (!menu.chapterPage) {
        clip.chapters.reset();
        return;
    }
    clip.chapters = project::TSubChapter::fromTimes(menu.chapterPage->times());
    clip.chapters->musicFile = menu.chapterPage->musicFile;
}

MenuDesign &programMenuDesign()
{
    static MenuDesign *design = [] {
        auto *created = new MenuDesign;
        common::RegisterResetStep(common::ResetScope::Project, [created] { created->clearClips(); });
        common::RegisterResetStep(common::ResetScope::TitleTexts, [created] { created->titlePage.clearTexts(); });
        return created;
    }();
    return *design;
}

} // namespace vt::menu
