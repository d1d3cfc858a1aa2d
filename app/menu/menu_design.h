// The design of a project's DVD menus, as plain data: the title page (its
// background, music, texts and back button), and per clip its title-menu
// button and its chapter page. Everything is in pixels of the editor's
// preview panel (518 wide; 388 high for 4:3, 292 for 16:9). The menu editor
// fills it; production reads it, with or without windows.
#pragma once

#include "app/menu/button_rules.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vt::project {
struct ClipRecord;
class ClipRecordList;
} // namespace vt::project

namespace vt::menu {

enum class PictureShape { Standard = 1, Wide = 2 };  // 4:3, 16:9 (the production shape numbers)

inline constexpr const char *kDefaultTextFont = "Tahoma";
inline constexpr int kDefaultTextSize = 16;              // points
inline constexpr uint32_t kDefaultTextColour = 0xFFFFFF;  // white
inline constexpr QPoint kInitialBackButton{0, 1000};      // clamped to the bottom-left corner

// What a text of a page is to the default layout, which places headings and
// captions again whenever it lays the page out; the user places free texts.
enum class TextRole { Free, Heading, Caption };

// A text of a menu page, drawn with its top-left corner at bounds' top-left.
struct TextItem {
    std::string text;
    std::string fontName = kDefaultTextFont;
    int fontSize = kDefaultTextSize;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    uint32_t colour = kDefaultTextColour;  // 0x00BBGGRR
    QRect bounds;                          // the auto-sized label on the panel
    TextRole role = TextRole::Free;
    // A caption names this clip's title button; compared, never followed.
    const project::ClipRecord *captionOf = nullptr;
};

// What title and chapter buttons share.
struct MenuButton {
    QRect bounds;            // the control; its picture sits inside the 8-pixel border
    bool keepAspect = true;  // letterbox the picture instead of stretching it
    bool lockRatio = false;  // the picture area follows the clip's display aspect

    // The button's picture area is its bounds less the border.
    QSize pictureSize() const;
    // A picture at size as production draws it into the button.
    QImage pictureAtSize(const QImage &picture, QSize size) const
    {
        return PictureAtSize(picture, size, keepAspect, lockRatio);
    }
};

// A clip's button on the title menu; it shows the clip's snapshot.
struct TitleButton : MenuButton {
    TitleButton() { bounds = QRect(QPoint(1, 1), kTitleButtonSize); }
};

// A chapter's button on its clip's chapter page; it shows its own picture,
// the frame at the chapter time (at the clip's preview size).
struct ChapterButton : MenuButton {
    ChapterButton() { bounds = QRect(QPoint(1, 1), kChapterButtonSize); }
    int32_t chapterTime = 0;  // seconds from the start of the source file
    QImage picture;
};

// The chapter menu of one clip.
struct ChapterPage {
    std::vector<ChapterButton> buttons;  // in chapter order; the first starts at the clip start
    std::vector<TextItem> texts;
    std::string backgroundFile;  // "" for none
    std::string musicFile;       // "" for none
    QPoint backButton = kInitialBackButton;
    bool laidOut = false;  // as the default layout left it: laid out again for the other shape
    bool headingRemoved = false;  // the user removed the layout's heading: not made again

    std::vector<int32_t> times() const;
};

struct TitlePage {
    std::string backgroundFile;
    std::string musicFile;
    std::vector<TextItem> texts;
    QPoint backButton = kInitialBackButton;
    bool laidOut = false;  // as the default layout left it: laid out again for the other shape
    // Layout texts the user removed, which a new layout does not bring back.
    bool headingRemoved = false;
    std::vector<const project::ClipRecord *> captionsRemoved;  // compared, never followed

    // Forgets the texts and what the user removed of the layout's.
    void clearTexts();
};

// The design of one clip. clip points at the record in the project's clip
// list; the design of a clip is dropped when the clip leaves the list.
struct ClipMenu {
    const project::ClipRecord *clip = nullptr;
    std::unique_ptr<TitleButton> titleButton;  // none: not on the title menu
    std::unique_ptr<ChapterPage> chapterPage;  // none: no chapter menu

    // The picture of the title button at size (the clip's snapshot).
    QImage titleButtonPicture(QSize size) const;
};

struct MenuDesign {
    TitlePage titlePage;
    std::vector<ClipMenu> clips;  // in no particular order; see menuOf()
    PictureShape shape = PictureShape::Standard;
    bool chapterMenus = false;  // "Auto Add DVD Root Menu": chapter menus are made
    QSize backButtonSize;       // of the back-button picture; empty when it is missing
    int safeDistance = 10;      // the safe-area margin the design was laid out with

    // The design of a clip, or none.
    ClipMenu *menuOf(const project::ClipRecord &clip);
    const ClipMenu *menuOf(const project::ClipRecord &clip) const;
    // The clip's design, made (empty) when it has none.
    ClipMenu &menuFor(const project::ClipRecord &clip);
    // True when at least one clip of the list has a title button: the DVD
    // then has a title menu.
    bool titleMenuWanted(const project::ClipRecordList &list) const;

    // Forgets the designs of clips that are no longer in the list, and of
    // records that do not match their design (a new clip at a freed
    // record's place).
    void dropMissingClips(const project::ClipRecordList &list);
    // Forgets everything of the clips, their captions and the title page's
    // music (the project is cleared); the title page's background and other
    // texts stay.
    void clearClips();
    // Removes the caption of the clip's title button.
    void dropCaption(const project::ClipRecord *clip);
};

// Writes what the clip record itself keeps of its menus (on the title menu
// or not; the chapter times and music of its chapter page).
void WriteToClipRecord(const ClipMenu &menu, project::ClipRecord &clip);

// The program's design, beside the program's clip list. Clearing the
// project empties its clip designs and the title music, freeing the title
// texts empties those.
MenuDesign &programMenuDesign();

} // namespace vt::menu
