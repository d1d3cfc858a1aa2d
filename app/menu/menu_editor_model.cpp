#include "app/menu/menu_editor_model.h"

#include "app/menu/page_layout.h"
#include "app/menu/text_item_font.h"
#include "app/project/chapter_list.h"
#include "app/project/clip_record.h"

#include <QFontMetrics>

#include <algorithm>
#include <filesystem>

namespace vt::menu {

namespace {

constexpr int32_t kShortClipSeconds = 60;  // shorter clips get a single chapter
constexpr int kDefaultChapterCount = 2;

std::vector<int32_t> evenTimes(int32_t start, int32_t duration, int count)
{
    std::vector<int32_t> times;
    for (int i = 0; i < count; ++i)
        times.push_back(static_cast<int32_t>(static_cast<int64_t>(i) * duration / count + start));
    return times;
}

constexpr const char *kLayoutFont = "DejaVu Sans";
constexpr int kTitleHeadingSize = 20, kChapterHeadingSize = 18, kCaptionSize = 11;  // points

TextItem layoutText(TextRole role, int size)
{
    TextItem item;
    item.role = role;
    item.fontName = kLayoutFont;
    item.fontSize = size;
    item.bold = role == TextRole::Heading;
    return item;
}

// The text cut with an ellipsis to a width.
std::string fittedText(const TextItem &item, const std::string &text, int width)
{
    const QFontMetrics metrics(FontOfTextItem(item));
    return metrics.elidedText(QString::fromStdString(text), Qt::ElideRight, width).toStdString();
}

// The text's label centred in a band, inside the panel's safe area.
void centreIn(TextItem &item, const QRect &band, const MenuPanel &panel)
{
    const QSize size = TextItemSize(item);
    const QPoint at(band.left() + (band.width() - size.width()) / 2, band.top() + (band.height() - size.height()) / 2);
    item.bounds = QRect(panel.clamp(at, size), size);
}

// The page's heading, made when it has none and the user did not remove it;
// none when the layout left no room for it or there is no text.
void placeHeading(std::vector<TextItem> &texts, bool removed, const std::string &text, int size, const QRect &band,
                  const MenuPanel &panel)
{
    auto heading = std::find_if(texts.begin(), texts.end(), [](const TextItem &t) { return t.role == TextRole::Heading; });
    if (heading == texts.end() && removed)
        return;
    if (band.isNull() || text.empty()) {
        if (heading != texts.end())
            texts.erase(heading);
        return;
    }
    if (heading == texts.end()) {
        TextItem made = layoutText(TextRole::Heading, size);
        made.text = fittedText(made, text, band.width());
        texts.insert(texts.begin(), made);
        heading = texts.begin();
    }
    centreIn(*heading, band, panel);
}

// The line height of the layout's texts of a role; 0 for a heading without text.
int textHeight(TextRole role, int size, const std::string &text = "Ag")
{
    if (text.empty())
        return 0;
    TextItem probe = layoutText(role, size);
    probe.text = text;
    return TextItemSize(probe).height();
}

std::string clipName(const project::ClipRecord &clip)
{
    return std::filesystem::path(clip.fileName).stem().string();
}

bool fileExists(const std::string &path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

MenuEditorModel::MenuEditorModel(MenuDesign &design, project::ClipRecordList &clips)
    : design_(design)
    , clips_(clips)
{
}

void MenuEditorModel::setBackButtonSize(QSize size)
{
    design_.backButtonSize = size;
    design_.titlePage.backButton = panel().clamp(design_.titlePage.backButton, size);
}

void MenuEditorModel::setBackgrounds(std::vector<std::string> files)
{
    backgrounds_ = std::move(files);
    if (!backgrounds_.empty() && design_.titlePage.backgroundFile.empty())
        design_.titlePage.backgroundFile = backgrounds_.front();
}

ClipMenu &MenuEditorModel::menuAt(int clipIndex)
{
    return design_.menuFor(clips_[clipIndex]);
}

void MenuEditorModel::writeToRecord(int clipIndex)
{
    WriteToClipRecord(menuAt(clipIndex), clips_[clipIndex]);
}

void MenuEditorModel::buildMenu(FrameSource &frames, const Step &step)
{
    design_.dropMissingClips(clips_);
    // Chapter times a clip record brings without a design (set up without
    // the editor) become its chapter page.
    std::vector<std::vector<int32_t>> recordedTimes(static_cast<size_t>(clips_.count()));
    for (int i = 0; i < clips_.count(); ++i)
        if (!design_.menuOf(clips_[i]) && clips_[i].chapters)
            recordedTimes[static_cast<size_t>(i)] = clips_[i].chapters->times();

    bool created = false;
    for (int i = 0; i < clips_.count(); ++i) {
        ClipMenu &menu = menuAt(i);
        if (i >= kTitleMenuButtons) {
            menu.titleButton.reset();
            menu.chapterPage.reset();
        } else if (!menu.titleButton) {
            menu.titleButton = std::make_unique<TitleButton>();
            created = true;
        }
        writeToRecord(i);
        if (step)
            step();
    }
    if (created)
        layOutTitleButtons();

    for (int i = 0; i < std::min(clips_.count(), kTitleMenuButtons); ++i) {
        ClipMenu &menu = menuAt(i);
        const project::ClipRecord &clip = clips_[i];
        if (menu.chapterPage) {
            const std::vector<int32_t> times = menu.chapterPage->times();
            if (std::any_of(times.begin(), times.end(), [&](int32_t t) { return t < clip.start || t >= clip.end; })) {
                if (selectedClip_ == i)
                    selectedChapterButton_ = -1;
                menu.chapterPage.reset();
                writeToRecord(i);
            }
        }
        if (!menu.chapterPage) {
            const std::vector<int32_t> &times = recordedTimes[static_cast<size_t>(i)];
            makeChapterPage(i, frames, static_cast<int>(times.size()), times);
        }
        if (step)
            step();
    }
}

bool MenuEditorModel::putOnTitleMenu(int clipIndex, FrameSource &frames)
{
    ClipMenu &menu = menuAt(clipIndex);
    if (menu.titleButton)
        return false;
    menu.titleButton = std::make_unique<TitleButton>();
    menu.titleButton->bounds.moveTopLeft(panel().clamp({1, 1}, menu.titleButton->bounds.size()));
    writeToRecord(clipIndex);
    selectClip(clipIndex);
    makeChapterPage(clipIndex, frames);
    showTitlePage();
    return true;
}

void MenuEditorModel::takeOffTitleMenu(int clipIndex)
{
    ClipMenu &menu = menuAt(clipIndex);
    if (selectedClip_ == clipIndex) {
        selectedChapterButton_ = -1;
        if (page_ == MenuPage::Chapter)
            page_ = MenuPage::Title;
    }
    menu.titleButton.reset();
    menu.chapterPage.reset();
    design_.dropCaption(&clips_[clipIndex]);
    writeToRecord(clipIndex);
}

ChapterPageResult MenuEditorModel::makeChapterPage(int clipIndex, FrameSource &frames, int requestedCount,
                                                   const std::vector<int32_t> &times, const Step &step)
{
    const project::ClipRecord &clip = clips_[clipIndex];
    const int32_t duration = clip.end - clip.start;
    int count = duration < kShortClipSeconds ? 1 : (requestedCount > 0 ? requestedCount : kDefaultChapterCount);
    count = std::min(count, project::kMaxChapters);
    std::vector<int32_t> chapterTimes = times;
    if (chapterTimes.empty())
        chapterTimes = evenTimes(clip.start, duration, count);
    else if (static_cast<int>(chapterTimes.size()) > count)
        chapterTimes.resize(static_cast<size_t>(count));

    ClipMenu &menu = menuAt(clipIndex);
    if (menu.chapterPage && menu.chapterPage->times() == chapterTimes)
        return ChapterPageResult::Unchanged;

    if (!fileExists(clip.fileName)) {
        if (selectedClip_ == clipIndex)
            selectedChapterButton_ = -1;
        menu.chapterPage.reset();
        writeToRecord(clipIndex);
        return ChapterPageResult::NoSource;
    }
    if (!frames.open(clip.fileName, std::max(clip.start, 1)))
        return ChapterPageResult::NotReadable;

    auto page = std::make_unique<ChapterPage>();
    page->backgroundFile = backgrounds_.size() >= 2 ? backgrounds_[1] : design_.titlePage.backgroundFile;
    const project::PictureSize previewSize{clip.previewWidth, clip.previewHeight};
    QImage previous = clip.preview;
    for (int32_t time : chapterTimes) {
        ChapterButton button;
        button.chapterTime = time;
        QImage frame = frames.frameAt(time, previewSize);
        button.picture = frame.isNull() ? previous : frame;
        previous = button.picture;
        page->buttons.push_back(std::move(button));
        if (step)
            step();
    }
    frames.close();
    page->backButton = panel().clamp(page->backButton, design_.backButtonSize);
    layOutChapterButtons(*page, clip);

    if (selectedClip_ == clipIndex)
        selectedChapterButton_ = -1;
    menu.chapterPage = std::move(page);
    writeToRecord(clipIndex);
    return ChapterPageResult::Made;
}

ChapterPageResult MenuEditorModel::applyChapterTimes(int clipIndex, FrameSource &frames,
                                                     const std::vector<int32_t> &times, const Step &step)
{
    ClipMenu &menu = menuAt(clipIndex);
    const std::string oldBackground = menu.chapterPage ? menu.chapterPage->backgroundFile : std::string();
    const ChapterPageResult result =
        makeChapterPage(clipIndex, frames, static_cast<int>(times.size()), times, step);
    if (result == ChapterPageResult::Made && !oldBackground.empty())
        menu.chapterPage->backgroundFile = oldBackground;
    if (menu.chapterPage) {
        selectClip(clipIndex);
        showChapterPage();
    }
    return result;
}

void MenuEditorModel::layOutTitleButtons()
{
    std::vector<const project::ClipRecord *> onMenu;
    std::vector<TitleButton *> buttons;
    for (int i = 0; i < clips_.count(); ++i) {
        ClipMenu *menu = design_.menuOf(clips_[i]);
        if (menu && menu->titleButton) {
            onMenu.push_back(&clips_[i]);
            buttons.push_back(menu->titleButton.get());
        }
    }
    const int captionHeight = textHeight(TextRole::Caption, kCaptionSize);
    const PageLayout layout = LayOutPage({static_cast<int>(buttons.size()),
                                          textHeight(TextRole::Heading, kTitleHeadingSize, titleHeading_),
                                          captionHeight, design_.backButtonSize},
                                         panel());
    std::vector<TextItem> &texts = design_.titlePage.texts;
    std::erase_if(texts, [&](const TextItem &t) {
        return t.role == TextRole::Caption &&
               (!layout.captions || std::find(onMenu.begin(), onMenu.end(), t.captionOf) == onMenu.end());
    });
    for (size_t k = 0; k < buttons.size(); ++k) {
        buttons[k]->bounds = QRect(layout.buttons[k], layout.buttonSize);
        if (!layout.captions)
            continue;
        auto caption = std::find_if(texts.begin(), texts.end(), [&](const TextItem &t) {
            return t.role == TextRole::Caption && t.captionOf == onMenu[k];
        });
        if (caption == texts.end()) {
            const auto &removed = design_.titlePage.captionsRemoved;
            if (std::find(removed.begin(), removed.end(), onMenu[k]) != removed.end())
                continue;
            TextItem made = layoutText(TextRole::Caption, kCaptionSize);
            made.captionOf = onMenu[k];
            made.text = fittedText(made, clipName(*onMenu[k]), layout.buttonSize.width());
            texts.push_back(made);
            caption = texts.end() - 1;
        }
        centreIn(*caption, layout.captionUnder(static_cast<int>(k), captionHeight), panel());
    }
    placeHeading(texts, design_.titlePage.headingRemoved, titleHeading_, kTitleHeadingSize, layout.heading, panel());
    design_.titlePage.laidOut = true;
}

void MenuEditorModel::layOutChapterButtons(ChapterPage &page, const project::ClipRecord &clip)
{
    const std::string heading = clipName(clip);
    const PageLayout layout = LayOutPage({static_cast<int>(page.buttons.size()),
                                          textHeight(TextRole::Heading, kChapterHeadingSize, heading), 0,
                                          design_.backButtonSize},
                                         panel());
    for (size_t k = 0; k < page.buttons.size(); ++k)
        page.buttons[k].bounds = QRect(layout.buttons[k], layout.buttonSize);
    placeHeading(page.texts, page.headingRemoved, heading, kChapterHeadingSize, layout.heading, panel());
    page.laidOut = true;
}

void MenuEditorModel::placedByUser()
{
    if (ChapterPage *page = shownChapterPage())
        page->laidOut = false;
    else if (page_ == MenuPage::Title)
        design_.titlePage.laidOut = false;
}

void MenuEditorModel::refreshLayout()
{
    if (ChapterPage *page = shownChapterPage()) {
        if (page->laidOut)
            layOutChapterButtons(*page, clips_[selectedClip_]);
    } else if (page_ == MenuPage::Title && design_.titlePage.laidOut) {
        layOutTitleButtons();
    }
}

void MenuEditorModel::switchShape(PictureShape shape)
{
    if (shape == design_.shape)
        return;
    const bool toWide = shape == PictureShape::Wide;
    design_.shape = shape;
    const MenuPanel to = panel();
    const QSize back = design_.backButtonSize;
    const int shift = toWide ? -kShapeBackButtonShift : kShapeBackButtonShift;
    auto shiftBack = [&](QPoint &at) { at = to.clamp({at.x(), at.y() + shift}, back); };
    auto clampRect = [&](QRect &r) { r.moveTopLeft(to.clamp(r.topLeft(), r.size())); };

    shiftBack(design_.titlePage.backButton);
    for (ClipMenu &menu : design_.clips) {
        if (toWide && menu.titleButton)
            clampRect(menu.titleButton->bounds);
        if (!menu.chapterPage)
            continue;
        shiftBack(menu.chapterPage->backButton);
        if (!toWide)
            continue;
        for (ChapterButton &button : menu.chapterPage->buttons)
            clampRect(button.bounds);
        for (TextItem &text : menu.chapterPage->texts)
            clampRect(text.bounds);
    }
    if (toWide)
        for (TextItem &text : design_.titlePage.texts)
            clampRect(text.bounds);

    if (design_.titlePage.laidOut)
        layOutTitleButtons();
    for (int i = 0; i < clips_.count(); ++i) {
        ClipMenu *menu = design_.menuOf(clips_[i]);
        if (menu && menu->chapterPage && menu->chapterPage->laidOut)
            layOutChapterButtons(*menu->chapterPage, clips_[i]);
    }
}

void MenuEditorModel::selectClip(int clipIndex)
{
    if (clipIndex < 0 || clipIndex >= clips_.count())
        return;
    if (clipIndex != selectedClip_)
        selectedChapterButton_ = -1;
    selectedClip_ = clipIndex;
    if (page_ == MenuPage::Chapter && !showChapterPage())
        showTitlePage();
}

void MenuEditorModel::selectChapterButton(int index)
{
    ChapterPage *page = shownChapterPage();
    selectedChapterButton_ = page && index >= 0 && index < static_cast<int>(page->buttons.size()) ? index : -1;
}

void MenuEditorModel::clearSelection()
{
    selectedClip_ = -1;
    selectedChapterButton_ = -1;
    if (page_ == MenuPage::Chapter)
        page_ = MenuPage::Title;
}

void MenuEditorModel::showTitlePage()
{
    page_ = MenuPage::Title;
}

bool MenuEditorModel::showChapterPage()
{
    ClipMenu *menu = selectedMenu();
    if (!menu || !menu->chapterPage)
        return false;
    page_ = MenuPage::Chapter;
    return true;
}

ClipMenu *MenuEditorModel::selectedMenu()
{
    if (selectedClip_ < 0 || selectedClip_ >= clips_.count())
        return nullptr;
    return &menuAt(selectedClip_);
}

ChapterPage *MenuEditorModel::shownChapterPage()
{
    if (page_ != MenuPage::Chapter)
        return nullptr;
    ClipMenu *menu = selectedMenu();
    return menu ? menu->chapterPage.get() : nullptr;
}

std::string MenuEditorModel::pageBackground() const
{
    auto *self = const_cast<MenuEditorModel *>(this);
    if (page_ == MenuPage::Title)
        return design_.titlePage.backgroundFile;
    if (ChapterPage *page = self->shownChapterPage())
        return page->backgroundFile;
    return {};
}

bool MenuEditorModel::setPageBackground(const std::string &file)
{
    std::string *background = nullptr;
    if (page_ == MenuPage::Title)
        background = &design_.titlePage.backgroundFile;
    else if (ChapterPage *page = shownChapterPage())
        background = &page->backgroundFile;
    if (!background || *background == file)
        return false;
    *background = file;
    return true;
}

std::string MenuEditorModel::pageMusic() const
{
    auto *self = const_cast<MenuEditorModel *>(this);
    if (page_ == MenuPage::Title)
        return design_.titlePage.musicFile;
    if (ChapterPage *page = self->shownChapterPage())
        return page->musicFile;
    return {};
}

void MenuEditorModel::setPageMusic(const std::string &file)
{
    if (page_ == MenuPage::Title) {
        design_.titlePage.musicFile = file;
    } else if (ChapterPage *page = shownChapterPage()) {
        page->musicFile = file;
        writeToRecord(selectedClip_);
    }
}

std::vector<TextItem> *MenuEditorModel::pageTexts()
{
    if (page_ == MenuPage::Title)
        return &design_.titlePage.texts;
    if (ChapterPage *page = shownChapterPage())
        return &page->texts;
    return nullptr;
}

QPoint MenuEditorModel::pageBackButton() const
{
    auto *self = const_cast<MenuEditorModel *>(this);
    if (ChapterPage *page = self->shownChapterPage())
        return page->backButton;
    return design_.titlePage.backButton;
}

void MenuEditorModel::moveBackButton(QPoint to)
{
    const QPoint at = panel().clamp(to, design_.backButtonSize);
    placedByUser();
    if (ChapterPage *page = shownChapterPage())
        page->backButton = at;
    else if (page_ == MenuPage::Title)
        design_.titlePage.backButton = at;
}

TextItem *MenuEditorModel::addText(const TextItem &item, QPoint at)
{
    std::vector<TextItem> *texts = pageTexts();
    if (!texts)
        return nullptr;
    texts->push_back(item);
    TextItem &added = texts->back();
    added.bounds.moveTopLeft(panel().clamp(at, added.bounds.size()));
    return &added;
}

void MenuEditorModel::removeText(int index)
{
    std::vector<TextItem> *texts = pageTexts();
    if (!texts || index < 0 || index >= static_cast<int>(texts->size()))
        return;
    rememberRemoved((*texts)[index]);
    texts->erase(texts->begin() + index);
}

void MenuEditorModel::clearTexts()
{
    std::vector<TextItem> *texts = pageTexts();
    if (!texts)
        return;
    for (const TextItem &text : *texts)
        rememberRemoved(text);
    texts->clear();
}

void MenuEditorModel::rememberRemoved(const TextItem &text)
{
    if (text.role == TextRole::Heading) {
        if (ChapterPage *page = shownChapterPage())
            page->headingRemoved = true;
        else
            design_.titlePage.headingRemoved = true;
    } else if (text.role == TextRole::Caption) {
        design_.titlePage.captionsRemoved.push_back(text.captionOf);
    }
}

void MenuEditorModel::placeText(TextItem &item, QRect bounds)
{
    item.bounds = QRect(panel().clamp(bounds.topLeft(), bounds.size()), bounds.size());
}

QRect MenuEditorModel::draggedBounds(HitZone zone, QRect start, QPoint delta) const
{
    QRect bounds = DraggedBounds(zone, start, delta);
    bounds.moveTopLeft(panel().clamp(bounds.topLeft(), bounds.size()));
    return bounds;
}

void MenuEditorModel::applyLockRatio(MenuButton &button, const project::ClipRecord &clip) const
{
    if (!button.lockRatio)
        return;
    button.bounds.setSize(LockRatioSize(button.bounds.size(), clip.displayAspect));
    button.bounds.moveTopLeft(panel().clamp(button.bounds.topLeft(), button.bounds.size()));
}

void MenuEditorModel::setLockRatio(MenuButton &button, const project::ClipRecord &clip, bool on) const
{
    button.lockRatio = on;
    applyLockRatio(button, clip);
}

MenuEditorModel::ChapterDeletion MenuEditorModel::deleteChapterButton()
{
    ChapterPage *page = shownChapterPage();
    if (!page || selectedChapterButton_ < 0 || selectedChapterButton_ >= static_cast<int>(page->buttons.size()))
        return ChapterDeletion::NothingSelected;
    if (selectedChapterButton_ == 0)
        return ChapterDeletion::FirstChapter;
    page->buttons.erase(page->buttons.begin() + selectedChapterButton_);
    selectedChapterButton_ = -1;
    writeToRecord(selectedClip_);
    return ChapterDeletion::Deleted;
}

void MenuEditorModel::swapClips(int first, int second)
{
    if (first > second)
        std::swap(first, second);
    if (first < 0 || second != first + 1 || second >= clips_.count())
        return;
    clips_.moveDown(first);
    if (selectedClip_ == first)
        selectedClip_ = second;
    else if (selectedClip_ == second)
        selectedClip_ = first;
}

void MenuEditorModel::removeClip(int clipIndex)
{
    if (clipIndex < 0 || clipIndex >= clips_.count())
        return;
    clearSelection();
    const project::ClipRecord *clip = &clips_[clipIndex];
    std::erase_if(design_.clips, [clip](const ClipMenu &menu) { return menu.clip == clip; });
    design_.dropCaption(clip);
    clips_.removeAt(clipIndex);
}

} // namespace vt::menu
