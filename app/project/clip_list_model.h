// The clip list's rules without a window: which clip is selected, the busy
// state while files are added, the mode, the disc type and picture shape,
// the size estimate, and what may happen when: commands refused while busy,
// the hand-over to the next window, closing. The clip list window is the
// view: it asks the model, then shows what it says.
#pragma once

#include "app/project/clip_adding.h"
#include "app/project/clip_record.h"
#include "app/project/disc_estimate.h"

#include <functional>
#include <string>
#include <vector>

namespace vt::common {
struct Settings;
}

namespace vt::project {

// Builder: the one-step builder (subtitles and menus offered); Converter:
// clips to VOB files.
enum class ClipListMode { Builder, Converter };

// The window the clip list hands over to.
enum class NextStage { None, MenuEditor, Builder, Converter };

class ClipListModel {
public:
    // The disc capacities are taken from settings now; the size per minute
    // and the defaults of each mode are read when needed.
    ClipListModel(ClipRecordList &clips, const vt::common::Settings &settings);

    // Called before the selection or the list changes (selecting, adding,
    // removing, reordering, closing, handing over): the frame preview of the
    // selected clip stops there.
    std::function<void()> stopPreview;

    // Each start of a mode: not busy, nothing selected, disc type and
    // picture shape from the settings.
    void enterMode(ClipListMode mode);
    // The settings window was confirmed: disc type and picture shape follow
    // the settings again.
    void settingsConfirmed();

    ClipListMode mode() const { return mode_; }
    bool offersSubtitles() const { return mode_ == ClipListMode::Builder; }
    bool busy() const { return busy_; }

    int selectedIndex() const { return selected_; }
    bool hasSelection() const { return selected_ >= 0; }
    // index outside the list selects nothing. False when nothing changed.
    bool select(int index);

    struct AddOutcome {
        bool refused = false;               // busy, or no files
        std::vector<std::string> messages;  // to show after the batch, in order
    };
    // Adds the files in order while busy, selects the first one added when
    // nothing was selected, and says what the user must be told: the files
    // that could not be added, and in builder mode a full disc.
    AddOutcome addFiles(const std::vector<std::string> &files, bool letterbox, const std::string &libraryFolder,
                        const std::function<void(const std::string &name)> &progress = {});
    // False when busy or nothing is selected; the clip next in place (or
    // the new last one) is selected afterwards.
    bool removeSelected();
    // One of ClipRecordList's moves (moveUp, moveToTop, ...) for the selected
    // clip, which stays selected. False when busy or nothing is selected.
    bool moveSelected(int (ClipRecordList::*move)(int));

    // The selected clip's trim and letterbox flag (nothing without one).
    void setSelectedTimes(int32_t start, int32_t end);
    void setSelectedLetterbox(bool letterbox);

    DiscType discType() const { return discType_; }
    void setDiscType(DiscType type) { discType_ = type; }
    bool pictureShape4_3() const { return pictureShape4_3_; }
    void setPictureShape4_3(bool fourByThree) { pictureShape4_3_ = fourByThree; }
    // The output size of all clips against the chosen disc.
    DiscEstimate estimate() const;

    // Whether a command that changes the project may run now, and whether
    // the window may close.
    bool canEdit() const { return !busy_; }
    bool canClose() const { return !busy_; }
    // The subtitle window for a clip: builder mode, not busy, a clip there.
    bool canEditSubtitle(int index) const;
    // The next window for Next: none while busy; otherwise the converter
    // window, the menu editor (withMenu) or the one-step builder. The
    // preview stops before a hand-over.
    NextStage handOver(bool withMenu);
    // The clip list stays hidden while the menu editor is open.
    static bool hidesDuring(NextStage stage) { return stage == NextStage::MenuEditor; }
    // Closing is refused while busy; otherwise the project is emptied (the
    // clips, the background music, the title texts) and nothing is selected.
    bool close();

private:
    void leaveSelection();

    ClipRecordList &clips_;
    const vt::common::Settings &settings_;
    int64_t dvd5SizeKB_, dvd9SizeKB_;
    ClipListMode mode_ = ClipListMode::Builder;
    bool busy_ = false;
    int selected_ = -1;
    DiscType discType_ = DiscType::DVD5;
    bool pictureShape4_3_ = true;
};

} // namespace vt::project
