#include "app/project/setup_clip_window.h"

#include "app/common/format_hms.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "app/project/clip_list_entry.h"
#include "app/project/clip_list_layout.h"
#include "app/project/preview_picture.h"
#include "app/project/progress_window.h"
#include "app/project/setup_subtitle_window.h"
#include "app/project/snapshot_file.h"
#include "app/project/srt_marker.h"
#include "app/common/extra_ui_texts.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/place_control.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_mask_edit.h"
#include "app/widgets/sui_radio_button.h"
#include "app/widgets/window_message_target.h"
#include "platform/paths.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>
using vt::project::ClipRecordList;
using vt::project::DiscType;
using vt::project::TimeBoxKind;
using vt::placeControl;

namespace {

constexpr int kListX = 16, kListY = 58;
constexpr int kListWidth = 31 + TSetupImage::kWidth;
constexpr int kListHeight = vt::project::kVisibleListEntries * vt::project::kListEntryHeight;
constexpr int kEntryLeft = 31, kMarkerLeft = 2;
constexpr int kThumbHeight = kListHeight - vt::project::kScrollThumbTravel;
constexpr int kSideX = 494;  // the preview column
constexpr int kDiscBarX = 104, kDiscBarY = 508, kDiscBarHeight = 18;

using vt::common::kAddClipsText;
using vt::common::kAddSubtitleText;
using vt::common::kAddingClipsText;
using vt::common::kMoveDownText;
using vt::common::kMoveToBottomText;
using vt::common::kMoveToTopText;
using vt::common::kMoveUpText;
using vt::common::kRemoveSelectedText;
using vt::common::kSetupSubtitleText;
constexpr int kDiscMarkWidth = 60;

QColor colourOf(uint32_t value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *label = placeControl<TLabel>(parent, name, place.x(), place.y(), place.width(), place.height());
    label->setText(caption);
    return label;
}

} // namespace

TSetupClipWindow::TSetupClipWindow(ClipRecordList &clips, vt::common::Settings &settings,
                                   const vt::common::UiLanguage &language, const vt::common::SharedBitmaps &bitmaps, std::string libraryFolder, QWidget *parent)
    : TsuiForm(parent)
    , clips_(clips)
    , settings_(settings)
    , language_(language)
    , bitmaps_(bitmaps)
    , libraryFolder_(std::move(libraryFolder))
    , model_(clips, settings, language)
{
    setObjectName(QStringLiteral("SetupClipWindow"));
    setWindowTitle(QStringLiteral("Clip List"));
    setModal(true);
    setClientSize(kClientWidth, kClientHeight);

    auto *page = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Clip", 0, 0, kClientWidth, kClientHeight);
    page->setSkinPicture(QStringLiteral("page"));
    page->setAttribute(Qt::WA_TransparentForMouseEvents);

    messages_ = new vt::WindowMessageTarget(
        [this](uint32_t message, intptr_t wparam, intptr_t lparam) { onLibraryMessage(message, wparam, lparam); },
        this);
    preview_ = std::make_unique<vt::project::FramePreview>(messages_->target(), libraryFolder_);
    preview_->onFrame = [this](const vt::project::FramePreview::Frame &frame) { onFrame(frame); };
    model_.stopPreview = [this] { stopPreview(); };

    buildListArea();
    buildPreviewArea();
    buildDiscArea();
    buildCommandButtons();
    showSelection();
}

TSetupClipWindow::~TSetupClipWindow()
{
    preview_->stop();
}

TsuiImageButton *TSetupClipWindow::addButton(QWidget *parent, const char *name, const QString &caption,
                                             const QRect &place, bool accent)
{
    auto *button = placeControl<TsuiImageButton>(parent, name, place.x(), place.y(), place.width(), place.height());
    button->setSkinPicture(accent ? QStringLiteral("button_accent") : QStringLiteral("button"),
                           vt::Skin::Fit::NineSlice);
    button->setCaption(caption);
    button->setToolTip(caption);
    return button;
}

void TSetupClipWindow::buildListArea()
{
    addLabel(client(), "Label_ClipList", QStringLiteral("Clip List"), QRect(kListX, 20, 300, 30))
        ->setStyleSheet(QStringLiteral("font-size: 13pt; font-weight: bold;"));

    Panel_List = placeControl<QWidget>(client(), "Panel_List", kListX, kListY, kListWidth, kListHeight);
    Panel_List->setStyleSheet(QStringLiteral("#Panel_List { background: #797571; border-radius: 4px; }"));
    Panel_List->setAttribute(Qt::WA_StyledBackground);
    Panel_Scroll = placeControl<QWidget>(Panel_List, "Panel_Scroll", 0, 0, kListWidth, 0);
    Panel_List->installEventFilter(this);
    Label_EmptyList = placeControl<QLabel>(Panel_List, "Label_EmptyList", 24, kListHeight / 2 - 40, kListWidth - 48, 80);
    Label_EmptyList->setAlignment(Qt::AlignCenter);
    Label_EmptyList->setWordWrap(true);
    Label_EmptyList->setStyleSheet(QStringLiteral("color: white; font-size: 11pt;"));

    auto *track = placeControl<QWidget>(client(), "Panel_InfoBar", kListX + kListWidth + 6, kListY, 14, kListHeight);
    track->setAttribute(Qt::WA_StyledBackground);
    track->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 6px;"));
    suiImageButton_InfoBar = placeControl<TsuiImageButton>(track, "suiImageButton_InfoBar", 0, 0, 14, kThumbHeight);
    suiImageButton_InfoBar->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    suiImageButton_InfoBar->installEventFilter(this);
}

void TSetupClipWindow::buildPreviewArea()
{
    Image_Preview = placeControl<QLabel>(client(), "Image_Preview", kSideX, kListY, vt::project::kPreviewAreaWidth,
                                         vt::project::kPreviewAreaHeight);
    Image_Preview->setStyleSheet(QStringLiteral("background: black;"));
    Label_Info = addLabel(client(), "Label_Info", QStringLiteral("Seeking please wait..."),
                          QRect(kSideX, kListY + 96, vt::project::kPreviewAreaWidth, 28));
    Label_Info->setAlignment(Qt::AlignCenter);
    Label_Info->setStyleSheet(QStringLiteral("color: white; background: rgba(0,0,0,160);"));
    Label_Info->hide();

    Panel_Progress = new TRangeBar(client());
    Panel_Progress->move(kSideX + (vt::project::kPreviewAreaWidth - Panel_Progress->width()) / 2, kListY + 232);
    connect(Panel_Progress, &TRangeBar::dragging, this, &TSetupClipWindow::rangeDragging);
    connect(Panel_Progress, &TRangeBar::released, this, &TSetupClipWindow::rangeReleased);

    const int boxY = kListY + 266;
    addLabel(client(), "Label_Start", QStringLiteral("Start :"), QRect(kSideX, boxY, 56, 26));
    suiEdit_Start = placeControl<TsuiMaskEdit>(client(), "suiEdit_Start", kSideX + 56, boxY, 96, 26);
    suiImageButton_ConfirmStart = addButton(client(), "suiImageButton_ConfirmStart", QStringLiteral("Set"),
                                            QRect(kSideX + 156, boxY, 52, 26));
    addLabel(client(), "Label_Stop", QStringLiteral("End :"), QRect(kSideX, boxY + 32, 56, 26));
    suiEdit_Stop = placeControl<TsuiMaskEdit>(client(), "suiEdit_Stop", kSideX + 56, boxY + 32, 96, 26);
    suiImageButton_ConfirmStop = addButton(client(), "suiImageButton_ConfirmStop", QStringLiteral("Set"),
                                           QRect(kSideX + 156, boxY + 32, 52, 26));
    for (auto [box, kind] : {std::pair {suiEdit_Start, TimeBoxKind::Start}, std::pair {suiEdit_Stop, TimeBoxKind::End}}) {
        box->setTimeMask();
        connect(box, &QLineEdit::textChanged, this, [this, box, kind] { colourTimeBox(box, kind); });
        connect(box, &TsuiEdit::exited, this, [this, box, kind] { leaveTimeBox(box, kind); });
    }
    connect(suiImageButton_ConfirmStart, &QAbstractButton::clicked, this,
            [this] { confirmTimeBox(TimeBoxKind::Start); });
    connect(suiImageButton_ConfirmStop, &QAbstractButton::clicked, this, [this] { confirmTimeBox(TimeBoxKind::End); });

    suiImageButton_Snapshoot = addButton(client(), "suiImageButton_Snapshoot", QStringLiteral("Snapshot"),
                                         QRect(kSideX + 212, boxY, 84, 58));
    connect(suiImageButton_Snapshoot, &QAbstractButton::clicked, this, &TSetupClipWindow::saveSnapshot);

    CheckBox_AddLetterBox = placeControl<TsuiCheckBox>(client(), "CheckBox_AddLetterBox", kSideX, boxY + 70, 296, 24);
    CheckBox_AddLetterBox->setText(QStringLiteral(" Auto Add Letter Box"));
    CheckBox_AddLetterBox->setChecked(true);
    connect(CheckBox_AddLetterBox, &QAbstractButton::clicked, this, [this](bool checked) {
        if (!model_.hasSelection())
            return;
        model_.setSelectedLetterbox(checked);
        showPreviewPicture();
    });

    suiCheckBox_4_3 = placeControl<TsuiRadioButton>(client(), "suiCheckBox_4_3", kSideX, boxY + 98, 296, 24);
    suiCheckBox_4_3->setText(QStringLiteral("4:3 For Standard TV"));
    suiCheckBox_16_9 = placeControl<TsuiRadioButton>(client(), "suiCheckBox_16_9", kSideX, boxY + 122, 296, 24);
    suiCheckBox_16_9->setText(QStringLiteral("16:9 For Wide Screen TV"));
    connect(suiCheckBox_4_3, &QAbstractButton::toggled, this,
            [this](bool checked) { model_.setPictureShape4_3(checked); });
    suiCheckBox_AddDVDMenu = placeControl<TsuiCheckBox>(client(), "suiCheckBox_AddDVDMenu", kSideX, boxY + 150, 296,
                                                        24);
    suiCheckBox_AddDVDMenu->setText(QStringLiteral(" Add DVD Menu"));
    suiCheckBox_AddDVDMenu->setChecked(true);
}

void TSetupClipWindow::buildDiscArea()
{
    suiImageButton_DVD5 = placeControl<TsuiImageButton>(client(), "suiImageButton_DVD5", kListX, kDiscBarY - 14, 80,
                                                        46);
    suiImageButton_DVD5->setSkinPicture(QStringLiteral("picture_D5"), vt::Skin::Fit::Scale);
    suiImageButton_DVD5->setToolTip(QStringLiteral("DVD-5"));
    suiImageButton_DVD9 = placeControl<TsuiImageButton>(client(), "suiImageButton_DVD9", kListX, kDiscBarY - 14, 80,
                                                        46);
    suiImageButton_DVD9->setSkinPicture(QStringLiteral("picture_9"), vt::Skin::Fit::Scale);
    suiImageButton_DVD9->setToolTip(QStringLiteral("DVD-9"));
    connect(suiImageButton_DVD5, &QAbstractButton::clicked, this, [this] { setDiscType(DiscType::DVD9); });
    connect(suiImageButton_DVD9, &QAbstractButton::clicked, this, [this] { setDiscType(DiscType::DVD5); });

    auto *trough = placeControl<QWidget>(client(), "Panel_DiscSize", kDiscBarX - 2, kDiscBarY - 2,
                                         vt::project::kDiscBarFullWidth + 4, kDiscBarHeight + 4);
    trough->setAttribute(Qt::WA_StyledBackground);
    trough->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 4px;"));
    Image_DiscSizeProgress = placeControl<QWidget>(client(), "Image_DiscSizeProgress", kDiscBarX, kDiscBarY, 0,
                                                   kDiscBarHeight);
    Image_DiscSizeProgress->setAttribute(Qt::WA_StyledBackground);
    Image_DiscSizeProgress->setStyleSheet(QStringLiteral(
        "background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #3fbf6f, stop:0.8 #e0c040, stop:1 #e05040);"
        " border-radius: 3px;"));
    // The capacity marks; placed on the bar's scale by showDiscChoices.
    Image4700 = addLabel(client(), "Image4700", QStringLiteral("4.7 GB"), QRect(0, kDiscBarY + 22, kDiscMarkWidth, 18));
    Image4700->setAlignment(Qt::AlignRight);
    Image8500 = addLabel(client(), "Image8500", QStringLiteral("8.5 GB"), QRect(0, kDiscBarY + 22, kDiscMarkWidth, 18));
    Image8500->setAlignment(Qt::AlignRight);
    // A figure, not a caption: no language replaces it.
    Label_DiscSize = placeControl<QLabel>(client(), "Label_DiscSize", kDiscBarX, kDiscBarY + 22, 300, 18);
    // The bitrate that fills the disc instead of the quality's; the bar then
    // shows the fill it plans.
    suiCheckBox_FitToDisc =
        placeControl<TsuiCheckBox>(client(), "suiCheckBox_FitToDisc", kDiscBarX + 310, kDiscBarY + 20, 140, 22);
    suiCheckBox_FitToDisc->setText(QStringLiteral(" Fit to disc"));
    connect(suiCheckBox_FitToDisc, &QAbstractButton::toggled, this, [this](bool checked) {
        model_.setFitToDisc(checked);
        updateEstimate();
    });
}

void TSetupClipWindow::buildCommandButtons()
{
    const int y = kListY + kListHeight + 10;
    // Wide enough for the longer captions of other languages ("Clip(s) hinzufügen...").
    suiImageButton_AddFile = addButton(client(), "suiImageButton_AddFile", QString(), QRect(kListX, y, 150, 30), true);
    suiImageButton_RemoveFile = addButton(client(), "suiImageButton_RemoveFile", QString(),
                                          QRect(kListX + 156, y, 124, 30));
    suiImageButton_Up = addButton(client(), "suiImageButton_Up", QString(), QRect(kListX + 286, y, 82, 30));
    suiImageButton_Down = addButton(client(), "suiImageButton_Down", QString(), QRect(kListX + 374, y, 82, 30));
    captionCommandButtons();
    connect(suiImageButton_AddFile, &QAbstractButton::clicked, this, qOverload<>(&TSetupClipWindow::addFiles));
    connect(suiImageButton_RemoveFile, &QAbstractButton::clicked, this, &TSetupClipWindow::removeSelected);
    connect(suiImageButton_Up, &QAbstractButton::clicked, this, [this] { moveSelected(&ClipRecordList::moveUp); });
    connect(suiImageButton_Down, &QAbstractButton::clicked, this, [this] { moveSelected(&ClipRecordList::moveDown); });

    const int bottom = kClientHeight - 46;
    connect(addButton(client(), "suiImageButton_Option", QStringLiteral("Settings"), QRect(kListX, bottom, 110, 30)),
            &QAbstractButton::clicked, this, [this] {
                if (!model_.canEdit() || !next_.optionWindow)
                    return;
                if (next_.optionWindow->exec() != QDialog::Accepted)
                    return;
                model_.settingsConfirmed();
                showDiscChoices();
            });
    connect(addButton(client(), "suiImageButton_Close", QStringLiteral("Close"),
                      QRect(kClientWidth - 16 - 110 - 8 - 110, bottom, 110, 30)),
            &QAbstractButton::clicked, this, &TSetupClipWindow::reject);
    connect(addButton(client(), "suiImageButton_Menu", QStringLiteral("Next"),
                      QRect(kClientWidth - 16 - 110, bottom, 110, 30), true),
            &QAbstractButton::clicked, this, &TSetupClipWindow::goNext);
}

QString TSetupClipWindow::text(int number) const
{
    return QString::fromStdString(language_.GetUIText(number));
}

// The list commands carry the texts of the right-click menu, in the UI
// language of the moment (it is loaded after the windows are created).
void TSetupClipWindow::captionCommandButtons()
{
    const std::pair<TsuiImageButton *, int> captions[] = {
        {suiImageButton_AddFile, kAddClipsText},
        {suiImageButton_RemoveFile, kRemoveSelectedText},
        {suiImageButton_Up, kMoveUpText},
        {suiImageButton_Down, kMoveDownText}};
    for (auto [button, number] : captions) {
        button->setCaption(text(number));
        button->setToolTip(text(number));
    }
}

void TSetupClipWindow::showEvent(QShowEvent *event)
{
    captionCommandButtons();
    Label_EmptyList->setText(text(vt::common::kEmptyClipListText));
    // The figure speaks the language chosen while the window was hidden.
    updateEstimate();
    TsuiForm::showEvent(event);
}

void TSetupClipWindow::enterMode(Mode mode)
{
    model_.enterMode(mode);
    suiCheckBox_AddDVDMenu->setVisible(mode == Mode::Builder);
    for (TSrtImage *marker : markers_)
        marker->setVisible(model_.offersSubtitles());
    showDiscChoices();
    showSelection();
}

// ---- the list --------------------------------------------------------------

void TSetupClipWindow::addFiles()
{
    if (!model_.canEdit())
        return;
    vt::FileDialogRequest request;
    request.filter = QString::fromStdString(settings_.videoDialogFilter);
    request.multiSelect = true;
    const vt::FileDialogResult chosen = vt::DialogService::current().openFiles(this, request);
    if (chosen.accepted())
        addFiles(chosen.files);
}

void TSetupClipWindow::addFiles(const QStringList &files)
{
    if (!model_.canEdit() || files.isEmpty())
        return;
    QDir::setCurrent(QString::fromStdString(vt::ExePath()));
    std::unique_ptr<TProgressWindow> progress;
    if (files.size() > 1) {
        progress = std::make_unique<TProgressWindow>(this);
        progress->start(static_cast<int>(files.size()), text(kAddingClipsText));
    }
    std::vector<std::string> paths;
    for (const QString &file : files)
        paths.push_back(file.toStdString());
    const auto showProgress = [&progress](const std::string &name) {
        if (!progress)
            return;
        progress->setInfo(QString::fromStdString(name));
        progress->step();
    };
    const vt::project::ClipListModel::AddOutcome outcome =
        model_.addFiles(paths, CheckBox_AddLetterBox->isChecked(), libraryFolder_, showProgress);
    progress.reset();

    layoutEntries();
    showSelection();
    for (const std::string &message : outcome.messages)
        vt::DialogService::current().information(this, QString::fromStdString(message));
}

void TSetupClipWindow::removeSelected()
{
    if (!model_.removeSelected())
        return;
    layoutEntries();
    showSelection();
}

void TSetupClipWindow::moveSelected(int (ClipRecordList::*move)(int))
{
    if (!model_.moveSelected(move))
        return;
    layoutEntries();
    showSelection();
}

void TSetupClipWindow::layoutEntries()
{
    const int count = clips_.count();
    while (static_cast<int>(entries_.size()) < count) {
        auto *entry = new TSetupImage(language_, bitmaps_, Panel_Scroll);
        connect(entry, &TSetupImage::leftClicked, this, [this](TSetupImage *clicked) {
            const auto it = std::find(entries_.begin(), entries_.end(), clicked);
            const int index = static_cast<int>(it - entries_.begin());
            if (model_.canEdit() && index != model_.selectedIndex())
                select(index);
        });
        connect(entry, &TSetupImage::rightReleased, this, [this](TSetupImage *clicked, const QPoint &at) {
            const auto it = std::find(entries_.begin(), entries_.end(), clicked);
            popUpMenu(static_cast<int>(it - entries_.begin()), at);
        });
        auto *marker = new TSrtImage(bitmaps_, Panel_Scroll);
        connect(marker, &TSrtImage::clicked, this, [this](TSrtImage *clicked) {
            const auto it = std::find(markers_.begin(), markers_.end(), clicked);
            openSubtitleWindow(static_cast<int>(it - markers_.begin()));
        });
        // The wheel over an entry scrolls the list.
        entry->installEventFilter(this);
        marker->installEventFilter(this);
        entries_.push_back(entry);
        markers_.push_back(marker);
    }
    while (static_cast<int>(entries_.size()) > count) {
        delete entries_.back();
        delete markers_.back();
        entries_.pop_back();
        markers_.pop_back();
    }
    for (int i = 0; i < count; ++i) {
        entries_[i]->move(kEntryLeft, vt::project::ListEntryTop(i));
        entries_[i]->setClip(&clips_[i]);
        entries_[i]->setSelected(i == model_.selectedIndex());
        entries_[i]->show();
        markers_[i]->move(kMarkerLeft, vt::project::ListEntryTop(i) + 1);
        markers_[i]->setClip(&clips_[i]);
        markers_[i]->setVisible(model_.offersSubtitles());
    }
    Panel_Scroll->resize(kListWidth, count * vt::project::kListEntryHeight);
    scrollTo(suiImageButton_InfoBar->y());
    Label_EmptyList->setVisible(count == 0);
}

void TSetupClipWindow::refreshEntry(int index)
{
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    entries_[index]->update();
    markers_[index]->update();
}

void TSetupClipWindow::scrollTo(int thumbTop)
{
    thumbTop = std::clamp(thumbTop, 0, vt::project::kScrollThumbTravel);
    suiImageButton_InfoBar->move(0, thumbTop);
    Panel_Scroll->move(0, vt::project::ListPanelTop(clips_.count(), thumbTop));
}

void TSetupClipWindow::select(int index)
{
    model_.select(index);
    showSelection();
}

void TSetupClipWindow::showSelection()
{
    for (size_t i = 0; i < entries_.size(); ++i)
        entries_[i]->setSelected(static_cast<int>(i) == model_.selectedIndex());
    suiImageButton_Snapshoot->setEnabled(false);
    if (model_.hasSelection()) {
        const vt::project::ClipRecord &clip = selectedClip();
        CheckBox_AddLetterBox->setChecked(clip.letterbox);
        Panel_Progress->setEnabled(true);
    } else {
        Panel_Progress->setEnabled(false);
    }
    showPreviewPicture();
    placeHandles();
    showTimes();
    updateEstimate();
}

void TSetupClipWindow::popUpMenu(int index, const QPoint &globalPosition)
{
    if (!model_.canEdit() || Label_Info->isVisible())
        return;
    if (index != model_.selectedIndex())
        select(index);
    if (!rightMenu_)
        rightMenu_ = new QMenu(this);
    rightMenu_->clear();
    auto item = [this](const char *name, const QString &caption, auto action) {
        QAction *added = rightMenu_->addAction(caption, this, action);
        added->setObjectName(QLatin1String(name));
        return added;
    };
    item("MoveUp", text(kMoveUpText), [this] { moveSelected(&ClipRecordList::moveUp); });
    item("MovetoTop", text(kMoveToTopText), [this] { moveSelected(&ClipRecordList::moveToTop); });
    rightMenu_->addSeparator();
    item("MoveDown", text(kMoveDownText), [this] { moveSelected(&ClipRecordList::moveDown); });
    item("MovetoBottom", text(kMoveToBottomText), [this] { moveSelected(&ClipRecordList::moveToBottom); });
    rightMenu_->addSeparator();
    item("Add", text(kAddClipsText), [this] { addFiles(); });
    item("Remove", text(kRemoveSelectedText), [this] { removeSelected(); });
    rightMenu_->addSeparator();
    const vt::project::ClipRecord &clip = selectedClip();
    const QString subtitleCaption =
        clip.subtitleFile.empty()
            ? text(kAddSubtitleText)
            : text(kSetupSubtitleText) + QFileInfo(QString::fromStdString(clip.subtitleFile)).fileName();
    QAction *subtitle = item("Subtitle", subtitleCaption, [this] { openSubtitleWindow(model_.selectedIndex()); });
    subtitle->setVisible(model_.offersSubtitles());
    rightMenu_->popup(globalPosition);
}

void TSetupClipWindow::openSubtitleWindow(int index)
{
    if (!model_.canEditSubtitle(index) || !next_.subtitleWindow)
        return;
    next_.subtitleWindow->editClip(clips_[index]);
    refreshEntry(index);
}

// ---- disc size --------------------------------------------------------------

void TSetupClipWindow::setDiscType(DiscType type)
{
    model_.setDiscType(type);
    showDiscChoices();
}

void TSetupClipWindow::showDiscChoices()
{
    const DiscType type = model_.discType();
    suiImageButton_DVD5->setVisible(type == DiscType::DVD5);
    suiImageButton_DVD9->setVisible(type == DiscType::DVD9);
    Image8500->setVisible(type == DiscType::DVD9);
    // Each mark ends where its disc's capacity lies on the bar's scale.
    const int64_t limitKB = model_.estimate().limitKB;
    const auto markAt = [limitKB](int64_t capacityKB) {
        return kDiscBarX + static_cast<int>(vt::project::kDiscBarFullWidth * capacityKB / std::max<int64_t>(limitKB, 1))
               - kDiscMarkWidth;
    };
    Image4700->move(markAt(settings_.dvd5SizeKB), Image4700->y());
    Image8500->move(markAt(settings_.dvd9SizeKB), Image8500->y());
    (model_.pictureShape4_3() ? suiCheckBox_4_3 : suiCheckBox_16_9)->setChecked(true);
    updateEstimate();
}

void TSetupClipWindow::updateEstimate()
{
    const vt::project::DiscEstimate estimate = model_.estimate();
    Image_DiscSizeProgress->resize(estimate.barWidth, kDiscBarHeight);
    Image_DiscSizeProgress->setVisible(estimate.barWidth > 0);
    Label_DiscSize->setText(text(vt::common::kDiscSizeText).arg(estimate.estimateKB / 1024).arg(estimate.limitKB / 1024));
}

// ---- trimming ---------------------------------------------------------------

vt::project::ClipTimes TSetupClipWindow::selectedTimes() const
{
    const vt::project::ClipRecord &clip = selectedClip();
    return {clip.start, clip.end, clip.duration};
}

void TSetupClipWindow::placeHandles()
{
    if (!model_.hasSelection()) {
        Panel_Progress->setHandles(vt::project::PlaceHandles(0, 0, 0));
        return;
    }
    const vt::project::ClipRecord &clip = selectedClip();
    Panel_Progress->setHandles(vt::project::PlaceHandles(clip.start, clip.end, clip.duration));
    // The start stays 10 seconds before the end of the clip: so does the handle.
    // The limit is the first position that gives the latest start.
    const int travel = vt::project::RangeBarGeometry().travel();
    const int latestStart = vt::project::StartFromHandle(travel, clip.duration);
    const int limit = clip.duration > 0 ? static_cast<int>(std::ceil(double(latestStart) * travel / clip.duration)) : 0;
    Panel_Progress->setLeftLimit(limit, text(vt::common::kStartLimitText));
}

void TSetupClipWindow::showTimes()
{
    const bool selected = model_.hasSelection();
    if (selected) {
        suiEdit_Start->setTimeSeconds(selectedClip().start);
        suiEdit_Stop->setTimeSeconds(selectedClip().end);
    } else {
        suiEdit_Start->clearTime();
        suiEdit_Stop->clearTime();
    }
    for (TsuiMaskEdit *box : {suiEdit_Start, suiEdit_Stop}) {
        box->setEnabled(selected);
        box->setColor(colourOf(vt::project::kTimeBoxNormal));
    }
}

void TSetupClipWindow::colourTimeBox(TsuiMaskEdit *box, TimeBoxKind kind)
{
    const vt::project::ClipTimes times = model_.hasSelection() ? selectedTimes() : vt::project::ClipTimes {};
    box->setColor(colourOf(
        vt::project::TimeBoxColour(kind, box->displayText().toStdString(), model_.hasSelection() ? &times : nullptr)));
}

void TSetupClipWindow::leaveTimeBox(TsuiMaskEdit *box, TimeBoxKind kind)
{
    if (box->color() != colourOf(vt::project::kTimeBoxInvalid))
        return;
    if (!model_.hasSelection())
        box->clearTime();
    else
        box->setTimeSeconds(kind == TimeBoxKind::Start ? selectedClip().start : selectedClip().end);
    box->setColor(colourOf(vt::project::kTimeBoxNormal));
}

void TSetupClipWindow::confirmTimeBox(TimeBoxKind kind)
{
    if (!model_.canEdit() || !model_.hasSelection())
        return;
    TsuiMaskEdit *box = kind == TimeBoxKind::Start ? suiEdit_Start : suiEdit_Stop;
    const vt::project::ConfirmedTimes confirmed =
        vt::project::ConfirmTimeBox(kind, box->displayText().toStdString(), selectedTimes());
    if (!confirmed.applied)
        return;
    setPreviewControlsEnabled(false);
    model_.setSelectedTimes(confirmed.times.start, confirmed.times.end);
    requestPreview(confirmed.previewSecond);
    placeHandles();
    showTimes();
    refreshEntry(model_.selectedIndex());
    updateEstimate();
}

void TSetupClipWindow::rangeDragging(TRangeBar::Part part)
{
    if (!model_.canEdit() || !model_.hasSelection())
        return;
    const int32_t duration = selectedClip().duration;
    const vt::project::HandlePositions &handles = Panel_Progress->handles();
    const QColor dragging = colourOf(vt::project::kTimeBoxDragging);
    if (part != TRangeBar::Part::Right) {
        const QSignalBlocker blocker(suiEdit_Start);
        suiEdit_Start->setTimeSeconds(vt::project::StartFromHandle(handles.left, duration));
        suiEdit_Start->setColor(dragging);
    }
    if (part != TRangeBar::Part::Left) {
        const QSignalBlocker blocker(suiEdit_Stop);
        suiEdit_Stop->setTimeSeconds(static_cast<int>(duration * vt::project::EndFraction(handles.right)));
        suiEdit_Stop->setColor(dragging);
    }
}

void TSetupClipWindow::rangeReleased(TRangeBar::Part part)
{
    if (!model_.canEdit() || !model_.hasSelection()) {
        placeHandles();
        return;
    }
    vt::project::ClipRecord &clip = selectedClip();
    const vt::project::HandlePositions &handles = Panel_Progress->handles();
    int32_t start = clip.start, end = clip.end;
    if (part != TRangeBar::Part::Right)
        start = vt::project::StartFromHandle(handles.left, clip.duration);
    if (part != TRangeBar::Part::Left)
        end = vt::project::EndFromHandle(handles.right, clip.duration);
    model_.setSelectedTimes(start, end);
    placeHandles();  // where the accepted times are
    showTimes();
    refreshEntry(model_.selectedIndex());
    requestPreview(part == TRangeBar::Part::Right ? vt::project::PreviewSecondForEnd(end, clip.duration)
                                                  : vt::project::PreviewSecondForStart(start));
    updateEstimate();
}

// ---- the frame preview --------------------------------------------------------

void TSetupClipWindow::requestPreview(int second)
{
    if (!model_.hasSelection())
        return;
    const vt::project::ClipRecord &clip = selectedClip();
    // When the server becomes ready it shows the clip's start as it is then.
    int ready = clip.start;
    if (ready > clip.duration - 10)
        ready -= 10;
    preview_->setClip(clip.fileName, {clip.previewWidth, clip.previewHeight},
                      {clip.snapshot.width(), clip.snapshot.height()}, ready);
    setPreviewControlsEnabled(false);
    if (!preview_->request(second))
        preview_->stop();
    syncPreviewControls();
}

void TSetupClipWindow::stopPreview()
{
    preview_->stop();
    suiImageButton_Snapshoot->setEnabled(false);
    syncPreviewControls();
}

void TSetupClipWindow::onLibraryMessage(uint32_t message, intptr_t wparam, intptr_t lparam)
{
    preview_->onMessage(message, wparam, lparam);
    syncPreviewControls();
}

void TSetupClipWindow::onFrame(const vt::project::FramePreview::Frame &frame)
{
    if (!model_.hasSelection())
        return;
    vt::project::ClipRecord &clip = selectedClip();
    clip.setSnapshot(frame.display);
    clip.preview = frame.preview;
    showPreviewPicture();
    refreshEntry(model_.selectedIndex());
    suiImageButton_Snapshoot->setEnabled(true);
}

void TSetupClipWindow::syncPreviewControls()
{
    Label_Info->setVisible(preview_->seeking());
    if (Label_Info->isVisible())
        Label_Info->raise();
    if (preview_->loaded())
        setPreviewControlsEnabled(preview_->controlsEnabled());
}

void TSetupClipWindow::setPreviewControlsEnabled(bool enabled)
{
    Panel_Progress->setEnabled(enabled && model_.hasSelection());
    if (!enabled)
        suiImageButton_Snapshoot->setEnabled(false);
    else if (preview_->lastSecond() >= 0)
        suiImageButton_Snapshoot->setEnabled(true);
}

void TSetupClipWindow::showPreviewPicture()
{
    if (!model_.hasSelection()) {
        Image_Preview->setPixmap(QPixmap::fromImage(vt::project::PreviewAreaPicture({}, true, Image_Preview->size())));
        return;
    }
    const vt::project::ClipRecord &clip = selectedClip();
    Image_Preview->setPixmap(
        QPixmap::fromImage(vt::project::PreviewAreaPicture(clip.preview, clip.letterbox, Image_Preview->size())));
}

void TSetupClipWindow::saveSnapshot()
{
    if (!model_.hasSelection())
        return;
    vt::FileDialogRequest request;
    request.filter = QLatin1String(vt::project::kSnapshotFilter);
    const vt::FileDialogResult chosen = vt::DialogService::current().saveFile(this, request);
    if (!chosen.accepted())
        return;
    QDir::setCurrent(QString::fromStdString(vt::ExePath()));
    const vt::project::ClipRecord &clip = selectedClip();
    const QImage frame = preview_->currentFrame({clip.snapshot.width(), clip.snapshot.height()});
    if (frame.isNull())
        return;
    const vt::project::SnapshotFormat format = vt::project::SnapshotFormatOfFilter(chosen.filterIndex);
    const QString file =
        QString::fromStdString(vt::project::SnapshotFileName(chosen.file().toStdString(), format));
    const bool saved = format == vt::project::SnapshotFormat::Bitmap
                           ? frame.save(file, "BMP")
                           : frame.save(file, "JPG", vt::project::kSnapshotJpegQuality);
    if (!saved)
        vt::DialogService::current().error(this, QStringLiteral("Could not write ") + file);
}

// ---- leaving ----------------------------------------------------------------

void TSetupClipWindow::goNext()
{
    using vt::project::NextStage;
    const NextStage stage = model_.handOver(suiCheckBox_AddDVDMenu->isChecked());
    QDialog *next = stage == NextStage::Converter    ? next_.convertWindow
                    : stage == NextStage::MenuEditor ? next_.menuWindow
                    : stage == NextStage::Builder    ? next_.builderWindow
                                                     : nullptr;
    if (!next)
        return;
    const bool hideThis = vt::project::ClipListModel::hidesDuring(stage);
    if (hideThis)
        hide();
    if (next_.prepare)
        next_.prepare(next);
    const int result = next->exec();
    // The menu editor's Close empties the project and ends the mode.
    if (stage == NextStage::MenuEditor && result == QDialog::Accepted) {
        reject();
        return;
    }
    if (hideThis)
        show();
}

void TSetupClipWindow::reject()
{
    if (!model_.canClose())
        return;
    if (clips_.count() > 0 && !vt::DialogService::current().confirmDestructive(this, text(vt::common::kDiscardClipsText)))
        return;
    if (!model_.close())
        return;
    layoutEntries();
    showSelection();
    TsuiForm::reject();
}

void TSetupClipWindow::closeEvent(QCloseEvent *event)
{
    if (!model_.canClose()) {
        event->ignore();
        return;
    }
    TsuiForm::closeEvent(event);
}

bool TSetupClipWindow::eventFilter(QObject *watched, QEvent *event)
{
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (event->type() == QEvent::Wheel && widget && (widget == Panel_List || Panel_List->isAncestorOf(widget))) {
        // One notch moves the list by one entry.
        const int hidden = clips_.count() - vt::project::kVisibleListEntries;
        if (hidden > 0) {
            const int notches = static_cast<QWheelEvent *>(event)->angleDelta().y() / 120;
            const int step = (vt::project::kScrollThumbTravel + hidden - 1) / hidden;
            scrollTo(suiImageButton_InfoBar->y() - notches * step);
        }
        return true;
    }
    if (watched != suiImageButton_InfoBar)
        return TsuiForm::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) {
            thumbDragging_ = true;
            thumbPressY_ = qRound(mouse->globalPosition().y());
            thumbPressTop_ = suiImageButton_InfoBar->y();
        }
        return false;
    case QEvent::MouseMove:
        if (thumbDragging_)
            scrollTo(thumbPressTop_ + qRound(mouse->globalPosition().y()) - thumbPressY_);
        return false;
    case QEvent::MouseButtonRelease:
        thumbDragging_ = false;
        return false;
    default:
        return false;
    }
}
