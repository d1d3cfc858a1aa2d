#include "app/burn/disc_window.h"

#include "app/burn/burner_facade.h"
#include "app/burn/drive_list.h"
#include "app/burn/dvd_folder_chain.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "app/common/ui_text_ids.h"
#include "app/common/work_folder.h"
#include "app/production/conversion_chain.h"
#include "app/production/volume_label.h"
#include "app/project/clip_record.h"
#include "app/widgets/desktop_opener.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/exclusive_pair.h"
#include "app/widgets/label.h"
#include "app/widgets/place_control.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/sui_group_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_memo.h"
#include "app/widgets/sui_progress_bar.h"

#include <QCoreApplication>
#include <QShowEvent>
#include <QUrl>

using vt::placeControl;

namespace {

constexpr int kMargin = 12;
constexpr int kGroupWidth = TDiscWindow::kClientWidth - 2 * kMargin;
constexpr int kFieldX = 138;
constexpr int kRowHeight = 26;
constexpr int kBarWidth = 258;
constexpr int kQualityCount = 3;
constexpr int kVolumeLabelEditLength = 12;

QString qt(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

TDiscWindow::TDiscWindow(const char *name, const char *title, int groups, vt::burn::DiscWindowServices services,
                         QWidget *parent)
    : TsuiForm(parent)
    , services_(std::move(services))
    , run_(*this, {services_.programFolder, services_.workFolder, services_.settings.outputFolder}, services_.language)
    , burnStep_(services_.facade, run_, *this, services_.language)
    , discoveryMessages_({}, {})
    , groups_(groups)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(QLatin1String(title));
    setModal(true);

    buildOutputGroup();
    buildVideoGroup();
    buildBurnerGroup();
    buildProgressGroup();
    // The groups the window shows, one under the other.
    int y = 10;
    for (QWidget *group : {static_cast<QWidget *>(suiGroupBox_Output), static_cast<QWidget *>(suiGroupBox_Video),
                           static_cast<QWidget *>(suiGroupBox_Burner), static_cast<QWidget *>(suiGroupBox_Progress)}) {
        if (group->isHidden())
            continue;
        group->move(kMargin, y);
        y += group->height() + 8;
    }
    Memo_Msg = placeControl<TsuiMemo>(client(), "Memo_Msg", kMargin, y, kGroupWidth, 110);
    Memo_Msg->setReadOnly(true);
    y += Memo_Msg->height() + 10;
    buildButtons(y);
    setClientSize(kClientWidth, y + 32 + 14);
    resetToIdle();
}

TDiscWindow::~TDiscWindow() = default;

TLabel *TDiscWindow::addLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int width)
{
    auto *label = placeControl<TLabel>(parent, name, x, y, width, kRowHeight);
    label->setText(caption);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    return label;
}

void TDiscWindow::buildOutputGroup()
{
    const bool quality = groups_ & QualityRow;
    suiGroupBox_Output =
        placeControl<TsuiGroupBox>(client(), "suiGroupBox_Output", kMargin, 10, kGroupWidth, quality ? 96 : 62);
    suiGroupBox_Output->setTitle(QStringLiteral("Output"));
    Label_OutputFolder = addLabel(suiGroupBox_Output, "Label_OutputFolder", QStringLiteral("Output Folder :"), 16, 24, 120);
    suiEdit_OutputFolder = placeControl<TsuiEdit>(suiGroupBox_Output, "suiEdit_OutputFolder", kFieldX, 24, 376, kRowHeight);
    suiEdit_OutputFolder->setReadOnly(true);
    suiImageButton_Browse =
        placeControl<TsuiImageButton>(suiGroupBox_Output, "suiImageButton_Browse", kFieldX + 382, 21, 32, 32);
    suiImageButton_Browse->setSkinPicture(QStringLiteral("tool_browse"), vt::Skin::Fit::Natural);
    connect(suiImageButton_Browse, &QAbstractButton::clicked, this, &TDiscWindow::browse);
    Label_OutputQuality = addLabel(suiGroupBox_Output, "Label_OutputQuality", QStringLiteral("Output Quality :"), 16, 58, 120);
    suiComboBox_OutputQuality =
        placeControl<TsuiComboBox>(suiGroupBox_Output, "suiComboBox_OutputQuality", kFieldX, 58, 414, kRowHeight);
    Label_OutputQuality->setVisible(quality);
    suiComboBox_OutputQuality->setVisible(quality);
    suiGroupBox_Output->setVisible(groups_ & OutputGroup);
}

void TDiscWindow::buildVideoGroup()
{
    suiGroupBox_Video = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Video", kMargin, 0, kGroupWidth, 60);
    suiGroupBox_Video->setTitle(QStringLiteral("Video"));
    addLabel(suiGroupBox_Video, "Label_TVSystem", QStringLiteral("TV System :"), 16, 24, 120);
    const struct {
        const char *box, *button, *picture, *caption;
        TsuiCheckBox **field;
        TsuiImageButton **pictureButton;
    } systems[] = {
        {"suiCheckBox_NTSC", "suiImageButton_NTSC", "picture_NTSC", "NTSC", &suiCheckBox_NTSC, &suiImageButton_NTSC},
        {"suiCheckBox_PAL", "suiImageButton_PAL", "picture_PAL", "PAL", &suiCheckBox_PAL, &suiImageButton_PAL},
    };
    int column = kFieldX;
    for (const auto &system : systems) {
        *system.pictureButton = placeControl<TsuiImageButton>(suiGroupBox_Video, system.button, column, 22, 30, 30);
        (*system.pictureButton)->setSkinPicture(QLatin1String(system.picture), vt::Skin::Fit::Natural);
        (*system.pictureButton)->setFocusPolicy(Qt::NoFocus);
        *system.field = placeControl<TsuiCheckBox>(suiGroupBox_Video, system.box, column + 34, 24, 100, kRowHeight);
        (*system.field)->setText(QLatin1String(system.caption));
        column += 150;
    }
    systemPair_ = new vt::ExclusivePair(suiCheckBox_NTSC, suiCheckBox_PAL);
    connect(suiImageButton_NTSC, &QAbstractButton::clicked, systemPair_, [this] { systemPair_->choose(suiCheckBox_NTSC); });
    connect(suiImageButton_PAL, &QAbstractButton::clicked, systemPair_, [this] { systemPair_->choose(suiCheckBox_PAL); });
    suiCheckBox_Deinterlace = placeControl<TsuiCheckBox>(suiGroupBox_Video, "suiCheckBox_Deinterlace", column, 24,
                                                         kGroupWidth - column - 12, kRowHeight);
    suiCheckBox_Deinterlace->setText(QStringLiteral(" Deinterlacing"));
    suiGroupBox_Video->setVisible(groups_ & VideoGroup);
}

void TDiscWindow::buildBurnerGroup()
{
    suiGroupBox_Burner = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Burner", kMargin, 0, kGroupWidth, 96);
    suiGroupBox_Burner->setTitle(QStringLiteral("Burner"));
    addLabel(suiGroupBox_Burner, "Label_Burner", QStringLiteral("DVD Burner :"), 16, 24, 120);
    suiComboBox_Burner = placeControl<TsuiComboBox>(suiGroupBox_Burner, "suiComboBox_Burner", kFieldX, 24, 376, kRowHeight);
    suiImageButton_Device =
        placeControl<TsuiImageButton>(suiGroupBox_Burner, "suiImageButton_Device", kFieldX + 382, 21, 32, 32);
    suiImageButton_Device->setSkinPicture(QStringLiteral("tool_option"), vt::Skin::Fit::Natural);
    suiImageButton_Device->setToolTip(QStringLiteral("Burner Devices"));
    addLabel(suiGroupBox_Burner, "Label_WriteSpeed", QStringLiteral("Write Speed :"), 16, 58, 120);
    suiComboBox_WriteSpeed =
        placeControl<TsuiComboBox>(suiGroupBox_Burner, "suiComboBox_WriteSpeed", kFieldX, 58, 120, kRowHeight);
    addLabel(suiGroupBox_Burner, "Label_DiscVolume", QStringLiteral("Disc Volume :"), 290, 58, 100);
    suiEdit_DiscVolume = placeControl<TsuiEdit>(suiGroupBox_Burner, "suiEdit_DiscVolume", 392, 58, 160, kRowHeight);
    suiEdit_DiscVolume->setMaxLength(kVolumeLabelEditLength);
    connect(suiComboBox_Burner, &QComboBox::currentIndexChanged, this, &TDiscWindow::driveChosen);
    connect(suiImageButton_Device, &QAbstractButton::clicked, this, &TDiscWindow::deviceButton);
}

void TDiscWindow::buildProgressGroup()
{
    suiGroupBox_Progress = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Progress", kMargin, 0, kGroupWidth, 138);
    suiGroupBox_Progress->setTitle(QStringLiteral("Progress"));
    QWidget *group = suiGroupBox_Progress;
    const int valueX = 124, rightCaptionX = 300, rightValueX = 420;
    addLabel(group, "Label_CurrentTimeCaption", QStringLiteral("Current Time :"), 16, 20, 104);
    Label_CurrentTime = addLabel(group, "Label_CurrentTime", QString(), valueX, 20, 150);
    addLabel(group, "Label_DurationCaption", QStringLiteral("Duration :"), rightCaptionX, 20, 110);
    Label_Duration = addLabel(group, "Label_Duration", QString(), rightValueX, 20, 140);
    addLabel(group, "Label_FPSCaption", QStringLiteral("FPS :"), 16, 44, 104);
    Label_FPS = addLabel(group, "Label_FPS", QString(), valueX, 44, 150);
    addLabel(group, "Label_CurrentFrameCaption", QStringLiteral("Current Frame :"), rightCaptionX, 44, 110);
    Label_CurrentFrame = addLabel(group, "Label_CurrentFrame", QString(), rightValueX, 44, 140);
    // Bar 1 follows the step that runs, bar 2 the burn.
    const struct {
        const char *caption, *captionName, *barName, *percentName;
        TsuiProgressBar **bar;
        TLabel **percent;
    } bars[] = {
        {"Process :", "Label_Bar1", "suiProgressBar_1", "Label_Percent1", &suiProgressBar_1, &Label_Percent1},
        {"Burn :", "Label_Bar2", "suiProgressBar_2", "Label_Percent2", &suiProgressBar_2, &Label_Percent2},
    };
    int y = 74;
    for (const auto &row : bars) {
        addLabel(group, row.captionName, QLatin1String(row.caption), 16, y, 104);
        *row.bar = placeControl<TsuiProgressBar>(group, row.barName, valueX, y + 6, kBarWidth, 14);
        (*row.bar)->setRange(0, 100);
        (*row.bar)->setTextVisible(false);
        *row.percent = addLabel(group, row.percentName, QString(), valueX + kBarWidth + 10, y, 60);
        y += 28;
    }
}

void TDiscWindow::buildButtons(int y)
{
    const int width = 110;
    const int startX = kClientWidth - kMargin - 2 * width - 8;
    suiImageButton_Start = placeControl<TsuiImageButton>(client(), "suiImageButton_Start", startX, y, width, 32);
    suiImageButton_Start->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    suiImageButton_Start->setCaption(QStringLiteral("Start"));
    suiImageButton_Stop = placeControl<TsuiImageButton>(client(), "suiImageButton_Stop", startX, y, width, 32);
    suiImageButton_Stop->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    suiImageButton_Stop->setCaption(QStringLiteral("Stop"));
    suiImageButton_Close =
        placeControl<TsuiImageButton>(client(), "suiImageButton_Close", kClientWidth - kMargin - width, y, width, 32);
    suiImageButton_Close->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    suiImageButton_Close->setCaption(QStringLiteral("Close"));
    connect(suiImageButton_Start, &QAbstractButton::clicked, this, [this] {
        if (!run_.busy())
            start();
    });
    connect(suiImageButton_Stop, &QAbstractButton::clicked, this, [this] { stop(); });
    connect(suiImageButton_Close, &QAbstractButton::clicked, this, &TDiscWindow::closeButton);
}

std::string TDiscWindow::text(int number) const
{
    return services_.language.GetUIText(number);
}

void TDiscWindow::resetToIdle()
{
    run_.EndRun(vt::production::kOutcomeNone);
    Memo_Msg->clear();
    systemPair_->setFirstChosen(services_.settings.ntsc);
    Label_CurrentTime->setText(QStringLiteral("00:00:00"));
    Label_Duration->setText(QStringLiteral("00:00:00"));
    Label_FPS->setText(QStringLiteral("0"));
    Label_CurrentFrame->setText(QStringLiteral("0"));
    showProgress(1, 0);
    showProgress(2, 0);
    suiComboBox_OutputQuality->clear();
    for (int i = 0; i < kQualityCount; ++i)
        suiComboBox_OutputQuality->addItem(qt(text(vt::common::kFirstQualityText + i)));
    suiComboBox_OutputQuality->setCurrentIndex(services_.settings.outputQuality);
    suiEdit_OutputFolder->setText(qt(services_.settings.outputFolder));
}

void TDiscWindow::emptyWorkFolder()
{
    vt::common::EmptyWorkFolder(vt::common::OwnWorkFolder(services_.workFolder));
}

void TDiscWindow::showEvent(QShowEvent *event)
{
    TsuiForm::showEvent(event);
    if (event->spontaneous())
        return;
    resetToIdle();
    fillDrives(services_.burnerIndex);
    emptyWorkFolder();
    suiEdit_DiscVolume->setText(qt(vt::production::DefaultVolumeLabel(services_.settings.outputFolder)));
    suiCheckBox_Deinterlace->setChecked(vt::production::DeinterlaceByDefault(services_.clips));
}

void TDiscWindow::fillDrives(int requested)
{
    if (run_.busy() || services_.facade.busy())
        return;
    // Discovery waits without handling the window's events: a window that
    // is being shown must not paint before it is set up.
    services_.facade.RegisterNotifyWindow(discoveryMessages_.target());
    services_.facade.InitDevices(services_.settings.useSpti, true);
    burnStep_.listen();
    const vt::burn::DriveChoice choice =
        vt::burn::ChooseDrive(services_.facade, requested, text(vt::common::kUnsupportText));
    fillingDrives_ = true;
    suiComboBox_Burner->clear();
    for (const std::string &drive : choice.drives)
        suiComboBox_Burner->addItem(qt(drive));
    suiComboBox_Burner->setCurrentIndex(choice.selected);
    suiComboBox_WriteSpeed->clear();
    for (const std::string &speed : choice.speeds.items)
        suiComboBox_WriteSpeed->addItem(qt(speed));
    suiComboBox_WriteSpeed->setCurrentIndex(choice.speeds.selected);
    speedsUsable_ = choice.speeds.usable;
    fillingDrives_ = false;
    if (choice.selected >= 0)
        services_.burnerIndex = choice.selected;
    enableLists();
}

void TDiscWindow::fillSpeeds(int drive)
{
    const vt::burn::SpeedList speeds =
        vt::burn::SpeedListFor(services_.facade, drive, true, text(vt::common::kUnsupportText));
    suiComboBox_WriteSpeed->clear();
    for (const std::string &speed : speeds.items)
        suiComboBox_WriteSpeed->addItem(qt(speed));
    suiComboBox_WriteSpeed->setCurrentIndex(speeds.selected);
    speedsUsable_ = speeds.usable;
    enableLists();
}

void TDiscWindow::enableLists()
{
    const bool idle = !run_.busy();
    suiComboBox_Burner->setEnabled(idle && suiComboBox_Burner->count() > 0);
    suiComboBox_WriteSpeed->setEnabled(idle && speedsUsable_);
}

void TDiscWindow::driveChosen(int index)
{
    if (fillingDrives_ || index < 0 || run_.busy() || services_.facade.busy())
        return;
    services_.burnerIndex = index;
    fillSpeeds(index);
}

void TDiscWindow::deviceButton()
{
    if (handlingDeviceClick_ || run_.busy() || services_.facade.busy())
        return;
    handlingDeviceClick_ = true;
    const int drive = suiComboBox_Burner->currentIndex();
    fillDrives(drive);
    if (services_.openDeviceWindow && suiComboBox_Burner->currentIndex() >= 0)
        services_.openDeviceWindow(suiComboBox_Burner->currentIndex());
    burnStep_.listen();
    handlingDeviceClick_ = false;
}

void TDiscWindow::browse()
{
    const QString folder = vt::DialogService::current().chooseFolder(
        this, qt(text(vt::common::kBrowseCaptionText)), suiEdit_OutputFolder->text());
    if (folder.isEmpty())
        return;
    std::string refusal;
    services_.settings.outputFolder = vt::common::ValidateOutputFolder(
        folder.toStdString(), services_.settings.outputFolder, services_.folders, &refusal);
    suiEdit_OutputFolder->setText(qt(services_.settings.outputFolder));
    suiEdit_DiscVolume->setText(qt(vt::production::DefaultVolumeLabel(services_.settings.outputFolder)));
    if (!refusal.empty())
        showMessage(refusal);
}

void TDiscWindow::closeButton()
{
    if (run_.busy()) {
        showMessage(text(vt::common::kStopFirstText));
        return;
    }
    reject();
}

void TDiscWindow::done(int result)
{
    if (run_.busy())
        return;
    emptyWorkFolder();
    if (keepsVideoFormat() && !vt::production::StoreVideoFormatChoice(suiCheckBox_NTSC->isChecked(),
                                                                      services_.settings, services_.optionIniPath))
        vt::DialogService::current().error(this, qt("Can not write " + services_.optionIniPath));
    TsuiForm::done(result);
}

vt::production::RunChoices TDiscWindow::choicesFromControls(int aspect) const
{
    vt::production::RunChoices choices;
    choices.ntsc = suiCheckBox_NTSC->isChecked();
    choices.aspect = aspect;
    choices.qualityIndex = std::max(0, suiComboBox_OutputQuality->currentIndex());
    choices.deinterlace = suiCheckBox_Deinterlace->isChecked();
    choices.volumeLabel = suiEdit_DiscVolume->text().toStdString();
    choices.conversionJobs = services_.settings.parallelConversions;
    return choices;
}

vt::burn::BurnJob TDiscWindow::jobFromControls(const std::string &videoTsFolder) const
{
    vt::burn::BurnJob job;
    job.drive = suiComboBox_Burner->currentIndex();
    job.speedIndex = speedsUsable_ ? suiComboBox_WriteSpeed->currentIndex() : 0;
    job.volumeLabel = vt::production::CleanVolumeLabel(suiEdit_DiscVolume->text().toStdString());
    job.videoTsFolder = videoTsFolder;
    return job;
}

void TDiscWindow::runDiscChain(vt::burn::DvdFolderChain &chain, const vt::production::RunChoices &choices)
{
    if (services_.clips.empty()) {
        showMessage(text(vt::common::kNoFileText));
        return;
    }
    const vt::burn::StartAnswer answer = vt::burn::AskBeforeStart(
        services_.facade, suiComboBox_Burner->currentIndex(), *this, services_.language);
    if (answer == vt::burn::StartAnswer::DoNotStart)
        return;
    run_.setOutputFolder(services_.settings.outputFolder);
    if (chain.makeDvdFolder(choices) != vt::production::kProcessFinish)
        return;
    if (answer == vt::burn::StartAnswer::WithoutBurn) {
        vt::openWithDesktop(QUrl::fromLocalFile(qt(services_.settings.outputFolder)));
        run_.EndRun(vt::production::kProcessFinish);
        return;
    }
    burnAndFinish(chain.videoTsFolder());
}

bool TDiscWindow::burnAndFinish(const std::string &videoTsFolder)
{
    if (!burnStep_.run(jobFromControls(videoTsFolder)))
        return false;
    run_.EndRun(vt::production::kProcessFinish);
    return true;
}

void TDiscWindow::logLine(const std::string &line)
{
    Memo_Msg->addLine(qt(line));
}

void TDiscWindow::showProgress(int bar, int value)
{
    (bar == 1 ? suiProgressBar_1 : suiProgressBar_2)->setValue(value);
    (bar == 1 ? Label_Percent1 : Label_Percent2)->setText(QString::number(value) + QStringLiteral(" %"));
}

void TDiscWindow::showBusy(bool busy)
{
    suiImageButton_Start->setVisible(!busy);
    suiImageButton_Stop->setVisible(busy);
    for (QWidget *choice : std::initializer_list<QWidget *>{
             suiImageButton_Browse, suiComboBox_OutputQuality, suiEdit_OutputFolder, suiCheckBox_NTSC,
             suiCheckBox_PAL, suiImageButton_NTSC, suiImageButton_PAL, suiCheckBox_Deinterlace, suiEdit_DiscVolume,
             suiImageButton_Device})
        choice->setEnabled(!busy);
    suiComboBox_Burner->setEnabled(!busy && suiComboBox_Burner->count() > 0);
    suiComboBox_WriteSpeed->setEnabled(!busy && speedsUsable_);
    if (busy)
        Memo_Msg->clear();
}

void TDiscWindow::showDuration(const std::string &hms)
{
    Label_Duration->setText(qt(hms));
}

void TDiscWindow::showConversionStatus(const vt::production::ConversionStatus &status)
{
    Label_CurrentTime->setText(qt(status.currentTime));
    Label_FPS->setText(qt(status.fps));
    Label_CurrentFrame->setText(qt(status.currentFrame));
}

void TDiscWindow::showMessage(const std::string &text)
{
    vt::DialogService::current().information(this, qt(text));
}

bool TDiscWindow::askYesNo(const std::string &text)
{
    return vt::DialogService::current().askYesNo(this, qt(text));
}

void TDiscWindow::processEvents()
{
    QCoreApplication::processEvents();
}

bool TDiscWindow::askBurnToDisc(const std::string &question)
{
    return vt::DialogService::current().showMessage(this, qt(text(vt::common::kBurnToDiscCaptionText)), qt(question),
                                                    vt::MessageIcon::Question,
                                                    vt::MessageButtons::YesNo) == vt::MessageAnswer::Yes;
}

bool TDiscWindow::askOkCancel(const std::string &question)
{
    return vt::DialogService::current().askOkCancel(this, qt(question));
}

void TDiscWindow::showError(const std::string &message)
{
    vt::DialogService::current().error(this, qt(message));
}
