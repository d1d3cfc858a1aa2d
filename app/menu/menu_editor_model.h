// The menu editor without its window: which page is shown and what is
// selected, building the menu from the clip list, chapter pages made from
// chapter times, moving and resizing elements inside the safe area,
// switching between 4:3 and 16:9, and the page's background, music and
// texts. The window draws what this says; vantorel-cli builds a design
// with it directly.
#pragma once

#include "app/menu/frame_grabber.h"
#include "app/menu/menu_design.h"
#include "app/menu/menu_panel.h"

#include <functional>
#include <string>
#include <vector>

namespace vt::project {
class ClipRecordList;
struct ClipRecord;
} // namespace vt::project

namespace vt::menu {

enum class MenuPage { None, Title, Chapter };

// What making a clip's chapter page came to.
enum class ChapterPageResult {
    Unchanged,    // the page already had exactly these times
    Made,         // a new page replaced the old one
    NoSource,     // the clip's file is gone: the clip has no chapter page
    NotReadable,  // the frame server is missing or does not serve the file: the old page stays
};

class MenuEditorModel {
public:
    using Step = std::function<void()>;

    MenuEditorModel(MenuDesign &design, project::ClipRecordList &clips);

    MenuDesign &design() { return design_; }
    const MenuDesign &design() const { return design_; }
    project::ClipRecordList &clips() { return clips_; }
    MenuPanel panel() const { return {design_.shape, design_.safeDistance}; }
    void setSafeDistance(int distance) { design_.safeDistance = distance; }
    void setBackButtonSize(QSize size);

    // The material strip's backgrounds. The first becomes the title page's
    // background when the title page has none.
    void setBackgrounds(std::vector<std::string> files);
    const std::vector<std::string> &backgrounds() const { return backgrounds_; }

    // Gives the first twelve clips a title button (laid out on the grid when
    // any was new) and takes later clips off the title menu; drops chapter
    // pages whose times left their clip's range and makes the default page
    // of every title-menu clip without one. step runs twice per clip.
    void buildMenu(FrameSource &frames, const Step &step = {});

    // Puts the clip on the title menu at (1, 1) with its default chapter
    // page, selects it and shows the title page ("Add"); false when it is
    // already on it.
    bool putOnTitleMenu(int clipIndex, FrameSource &frames);
    // Takes the clip off the title menu with its chapter page ("Remove").
    void takeOffTitleMenu(int clipIndex);

    // Makes the clip's chapter page: one chapter when the clip is shorter
    // than a minute, else the requested count (2 when none is asked) at the
    // given times or spread evenly from the clip's start; each button's
    // picture is the frame at its time (the previous picture when the
    // library gives none). step runs once per chapter.
    ChapterPageResult makeChapterPage(int clipIndex, FrameSource &frames, int requestedCount = 0,
                                      const std::vector<int32_t> &times = {}, const Step &step = {});
    // The chapter window returned times: a new page with them, laid out on
    // the grid and keeping the old page's background; the chapter page is
    // shown when the clip has one.
    ChapterPageResult applyChapterTimes(int clipIndex, FrameSource &frames, const std::vector<int32_t> &times,
                                        const Step &step = {});
    // The default layout (page_layout.h) of the title page: its buttons in
    // clip order with the clips' names as captions under them, and the
    // heading at the top; and of a chapter page, headed by its clip's name.
    // Needs a QGuiApplication (the texts are measured).
    void layOutTitleButtons();
    void layOutChapterButtons(ChapterPage &page, const project::ClipRecord &clip);
    // The user moved or resized something on the page shown: a shape switch
    // no longer lays it out again.
    void placedByUser();
    // Lays the page shown out again when it is still as the layout left it
    // (after its heading or a caption was edited).
    void refreshLayout();
    // The title page's heading the layout makes ("" for none).
    void setTitleHeading(std::string text) { titleHeading_ = std::move(text); }

    // Moves everything into the panel of the other shape: the back buttons
    // 96 pixels up (to 16:9) or down (to 4:3), and for 16:9 every title and
    // chapter button, back button and text clamped into the smaller panel.
    // Pages still as the default layout left them are laid out again.
    void switchShape(PictureShape shape);

    // Pages and selection.
    MenuPage page() const { return page_; }
    int selectedClip() const { return selectedClip_; }
    int selectedChapterButton() const { return selectedChapterButton_; }
    // The page shown follows the clip: its chapter page replaces the one
    // shown, or the title page when it has none.
    void selectClip(int clipIndex);
    void selectChapterButton(int index);
    void clearSelection();
    void showTitlePage();
    // The selected clip's chapter page; false when it has none.
    bool showChapterPage();
    // The selected clip's design, or none.
    ClipMenu *selectedMenu();
    ChapterPage *shownChapterPage();

    // The page shown's background, music, texts and back button ("" and
    // none when no page is shown).
    std::string pageBackground() const;
    // False when it is already the page's background or no page is shown.
    bool setPageBackground(const std::string &file);
    std::string pageMusic() const;
    void setPageMusic(const std::string &file);
    std::vector<TextItem> *pageTexts();
    QPoint pageBackButton() const;
    // Stores a dragged back-button position (clamped) for the page shown.
    void moveBackButton(QPoint to);

    // A text item ("Double Click to Edit" is the caller's text) at a point
    // of the page shown, clamped; none when no page is shown.
    TextItem *addText(const TextItem &item, QPoint at);
    // A heading or caption removed here stays off the page when it is laid
    // out again.
    void removeText(int index);
    void clearTexts();
    // A text's new bounds after an edit or drag, clamped.
    void placeText(TextItem &item, QRect bounds);

    // Dragging a button: the new bounds, clamped.
    QRect draggedBounds(HitZone zone, QRect start, QPoint delta) const;
    // Applies the clip's shape to a button when its lock ratio is on.
    void applyLockRatio(MenuButton &button, const project::ClipRecord &clip) const;
    void setLockRatio(MenuButton &button, const project::ClipRecord &clip, bool on) const;

    enum class ChapterDeletion { Deleted, FirstChapter, NothingSelected };
    // Removes the selected chapter button of the chapter page shown; the
    // first chapter stays (text 139).
    ChapterDeletion deleteChapterButton();

    // Compiler mode: reorders or removes clips; the selection follows.
    void swapClips(int first, int second);
    void removeClip(int clipIndex);

private:
    ClipMenu &menuAt(int clipIndex);
    void writeToRecord(int clipIndex);
    void rememberRemoved(const TextItem &text);

    MenuDesign &design_;
    project::ClipRecordList &clips_;
    std::vector<std::string> backgrounds_;
    std::string titleHeading_;
    MenuPage page_ = MenuPage::None;
    int selectedClip_ = -1;
    int selectedChapterButton_ = -1;
};

} // namespace vt::menu
