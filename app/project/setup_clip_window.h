// The clip list window (812 × 601) of the one-step builder and converter
// modes: the project's clips with their pictures and facts, added through
// the converter library, reordered, removed and trimmed while a live frame
// preview follows, against a running estimate of the disc size.
#pragma once

#include <functional>

#include "app/project/clip_list_model.h"
#include "app/project/clip_record.h"
#include "app/project/disc_estimate.h"
#include "app/project/frame_preview.h"
#include "app/project/range_bar.h"
#include "app/widgets/sui_form.h"

#include <memory>
#include <vector>

class QLabel;
class QMenu;
class TLabel;
class TProgressWindow;
class TSetupImage;
class TSetupSubtitleWindow;
class TSrtImage;
class TsuiCheckBox;
class TsuiImageButton;
class TsuiMaskEdit;
class TsuiRadioButton;

namespace vt {
class WindowMessageTarget;
}
namespace vt::common {
struct Settings;
class SharedBitmaps;
class UiLanguage;
}

class TSetupClipWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 812, kClientHeight = 601;

    using Mode = vt::project::ClipListMode;

    // The windows this one hands over to; any may be missing.
    struct NextWindows {
        QDialog *menuWindow = nullptr;     // builder mode with a DVD menu
        QDialog *builderWindow = nullptr;  // builder mode without menu
        QDialog *convertWindow = nullptr;  // converter mode
        QDialog *optionWindow = nullptr;   // the settings button
        TSetupSubtitleWindow *subtitleWindow = nullptr;
        // Called with the next window just before it opens, so it can take
        // over this window's choices (picture shape, disc type).
        std::function<void(QDialog *next)> prepare;
    };

    // clips: the project. libraryFolder: where the converter library is
    // loaded from ("" the program folder).
    TSetupClipWindow(vt::project::ClipRecordList &clips, vt::common::Settings &settings,
                     const vt::common::UiLanguage &language, const vt::common::SharedBitmaps &bitmaps, std::string libraryFolder = "",
                     QWidget *parent = nullptr);
    ~TSetupClipWindow() override;

    void setNextWindows(const NextWindows &next) { next_ = next; }

    // Prepares the window for a mode before the home window shows it.
    void enterMode(Mode mode);
    Mode mode() const { return model_.mode(); }

    // The commands, as the buttons and the right-click menu give them.
    void addFiles();
    void addFiles(const QStringList &files);
    void removeSelected();
    void moveSelected(int (vt::project::ClipRecordList::*move)(int));
    void select(int index);
    void openSubtitleWindow(int index);
    void saveSnapshot();
    void goNext();

    const vt::project::ClipListModel &model() const { return model_; }
    int selectedIndex() const { return model_.selectedIndex(); }
    bool busy() const { return model_.busy(); }
    vt::project::DiscType discType() const { return model_.discType(); }
    bool pictureShape4_3() const { return model_.pictureShape4_3(); }
    vt::project::DiscEstimate estimate() const { return model_.estimate(); }
    const vt::project::FramePreview &preview() const { return *preview_; }
    QMenu *rightClickMenu() const { return rightMenu_; }
    // The list entries and markers, in list order.
    TSetupImage *entry(int index) const { return entries_.at(static_cast<size_t>(index)); }
    TSrtImage *marker(int index) const { return markers_.at(static_cast<size_t>(index)); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildListArea();
    void buildPreviewArea();
    void buildDiscArea();
    void buildCommandButtons();
    void captionCommandButtons();
    // The UI text with that number in the program's language.
    QString text(int number) const;
    TsuiImageButton *addButton(QWidget *parent, const char *name, const QString &caption, const QRect &place,
                               bool accent = false);

    void layoutEntries();
    void refreshEntry(int index);
    void showSelection();
    void setDiscType(vt::project::DiscType type);
    // Disc type and picture shape as the model has them, and the estimate.
    void showDiscChoices();
    void updateEstimate();
    void scrollTo(int thumbTop);
    void popUpMenu(int index, const QPoint &globalPosition);

    // Only while a clip is selected.
    vt::project::ClipRecord &selectedClip() const { return clips_[model_.selectedIndex()]; }

    // Trimming and the preview.
    vt::project::ClipTimes selectedTimes() const;
    void placeHandles();
    void showTimes();
    void colourTimeBox(TsuiMaskEdit *box, vt::project::TimeBoxKind kind);
    void leaveTimeBox(TsuiMaskEdit *box, vt::project::TimeBoxKind kind);
    void confirmTimeBox(vt::project::TimeBoxKind kind);
    void rangeDragging(TRangeBar::Part part);
    void rangeReleased(TRangeBar::Part part);
    void requestPreview(int second);
    void stopPreview();
    void onLibraryMessage(uint32_t message, intptr_t wparam, intptr_t lparam);
    void onFrame(const vt::project::FramePreview::Frame &frame);
    void showPreviewPicture();
    void syncPreviewControls();
    void setPreviewControlsEnabled(bool enabled);

    vt::project::ClipRecordList &clips_;
    vt::common::Settings &settings_;
    const vt::common::UiLanguage &language_;
    const vt::common::SharedBitmaps &bitmaps_;
    std::string libraryFolder_;
    NextWindows next_;
    vt::project::ClipListModel model_;

    vt::WindowMessageTarget *messages_;
    std::unique_ptr<vt::project::FramePreview> preview_;

    std::vector<TSetupImage *> entries_;
    std::vector<TSrtImage *> markers_;
    QMenu *rightMenu_ = nullptr;
    int thumbPressY_ = 0, thumbPressTop_ = 0;
    bool thumbDragging_ = false;

    QWidget *Panel_List, *Panel_Scroll;
    TsuiImageButton *suiImageButton_InfoBar;
    QLabel *Image_Preview;
    TLabel *Label_Info;
    QLabel *Label_DiscSize;
    TRangeBar *Panel_Progress;
    TsuiMaskEdit *suiEdit_Start, *suiEdit_Stop;
    TsuiImageButton *suiImageButton_ConfirmStart, *suiImageButton_ConfirmStop, *suiImageButton_Snapshoot;
    TsuiCheckBox *CheckBox_AddLetterBox, *suiCheckBox_AddDVDMenu, *suiCheckBox_FitToDisc;
    TsuiRadioButton *suiCheckBox_4_3, *suiCheckBox_16_9;
    TsuiImageButton *suiImageButton_DVD5, *suiImageButton_DVD9;
    TsuiImageButton *suiImageButton_AddFile, *suiImageButton_RemoveFile, *suiImageButton_Up, *suiImageButton_Down;
    TLabel *Image4700, *Image8500;
    QLabel *Label_EmptyList;
    QWidget *Image_DiscSizeProgress;
};
