#include "app/production/convert_window.h"

#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "app/common/work_folder.h"
#include "app/project/clip_record.h"
#include "app/common/extra_ui_texts.h"
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
#include "platform/paths.h"

#include <QCoreApplication>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>

#include <cstdio>
using vt::placeControl;

namespace {

using vt::common::kFirstQualityText;
constexpr int kQualityCount = 3;
using vt::common::kBrowseCaptionText;
using vt::common::kStopFirstText;

constexpr int kMargin = 12;
constexpr int kGroupWidth = TConvertWindow::kClientWidth - 2 * kMargin;
constexpr int kFieldX = 138;  // where the fields of a group start, right of their labels
constexpr int kRowHeight = 26;
constexpr int kBarWidth = 258;  // the bars' full width: 100 per cent

QString qt(const std::string &text)
{
    return QString::fromStdString(text);
}

// The seconds of an "H:MM:SS" figure; -1 for anything else ("Seeking...").
int secondsOf(const std::string &hms)
{
    int hours = 0, minutes = 0, seconds = 0;
    char end = 0;
    if (std::sscanf(hms.c_str(), "%d:%2d:%2d%c", &hours, &minutes, &seconds, &end) != 3)
        return -1;
    return (hours * 60 + minutes) * 60 + seconds;
}

} // namespace

TConvertWindow::TConvertWindow(ConvertWindowServices services, QWidget *parent)
    : TsuiForm(parent)
    , services_(std::move(services))
    , run_(*this, {services_.programFolder, services_.workFolder, services_.settings.outputFolder}, services_.language)
    , chain_(run_, services_.clips)
    , aspect_(services_.settings.shape4x3 ? vt::production::kAspect4x3 : vt::production::kAspect16x9)
{
    setObjectName(QStringLiteral("ConvertWindow"));
    setWindowTitle(QStringLiteral("Converter"));
    setClientSize(kClientWidth, kClientHeight);
    setModal(true);

    buildOutputGroup();
    buildVideoGroup();
    buildProgressGroup();
    Memo_Msg = placeControl<TsuiMemo>(client(), "Memo_Msg", kMargin, 328, kGroupWidth, 96);
    Memo_Msg->setReadOnly(true);
    buildButtons();
    resetToIdle();
}

TLabel *TConvertWindow::addLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int width)
{
    auto *label = placeControl<TLabel>(parent, name, x, y, width, kRowHeight);
    label->setText(caption);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    return label;
}

// A label that shows a figure of the run: not a caption, so no language replaces it.
QLabel *TConvertWindow::addValue(QWidget *parent, const char *name, int x, int y, int width)
{
    auto *label = placeControl<QLabel>(parent, name, x, y, width, kRowHeight);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    return label;
}

void TConvertWindow::buildOutputGroup()
{
    auto *group = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Output", kMargin, 10, kGroupWidth, 96);
    group->setTitle(QStringLiteral("Output"));
    addLabel(group, "Label_OutputFolder", QStringLiteral("Output Folder :"), 16, 24, 120);
    suiEdit_OutputFolder = placeControl<TsuiEdit>(group, "suiEdit_OutputFolder", kFieldX, 24, 376, kRowHeight);
    suiEdit_OutputFolder->setReadOnly(true);
    suiImageButton_Browse = placeControl<TsuiImageButton>(group, "suiImageButton_Browse", kFieldX + 382, 21, 32, 32);
    suiImageButton_Browse->setSkinPicture(QStringLiteral("tool_browse"), vt::Skin::Fit::Natural);
    connect(suiImageButton_Browse, &QAbstractButton::clicked, this, &TConvertWindow::browse);

    addLabel(group, "Label_OutputQuality", QStringLiteral("Output Quality :"), 16, 58, 120);
    suiComboBox_OutputQuality =
        placeControl<TsuiComboBox>(group, "suiComboBox_OutputQuality", kFieldX, 58, 414, kRowHeight);
}

void TConvertWindow::buildVideoGroup()
{
    auto *group = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Video", kMargin, 114, kGroupWidth, 60);
    group->setTitle(QStringLiteral("Video"));
    addLabel(group, "Label_TVSystem", QStringLiteral("TV System :"), 16, 24, 120);
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
        *system.pictureButton = placeControl<TsuiImageButton>(group, system.button, column, 22, 30, 30);
        (*system.pictureButton)->setSkinPicture(QLatin1String(system.picture), vt::Skin::Fit::Natural);
        (*system.pictureButton)->setFocusPolicy(Qt::NoFocus);
        *system.field = placeControl<TsuiCheckBox>(group, system.box, column + 34, 24, 100, kRowHeight);
        (*system.field)->setText(QLatin1String(system.caption));
        column += 150;
    }
    systemPair_ = new vt::ExclusivePair(suiCheckBox_NTSC, suiCheckBox_PAL);
    connect(suiImageButton_NTSC, &QAbstractButton::clicked, systemPair_, [this] { systemPair_->choose(suiCheckBox_NTSC); });
    connect(suiImageButton_PAL, &QAbstractButton::clicked, systemPair_, [this] { systemPair_->choose(suiCheckBox_PAL); });

    suiCheckBox_Deinterlace =
        placeControl<TsuiCheckBox>(group, "suiCheckBox_Deinterlace", column, 24, kGroupWidth - column - 12, kRowHeight);
    suiCheckBox_Deinterlace->setText(QStringLiteral(" Deinterlacing"));
}

void TConvertWindow::buildProgressGroup()
{
    auto *group = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Progress", kMargin, 182, kGroupWidth, 138);
    group->setTitle(QStringLiteral("Progress"));
    const int valueX = 124, rightCaptionX = 300, rightValueX = 420;
    addLabel(group, "Label_CurrentTimeCaption", QStringLiteral("Current Time :"), 16, 20, 104);
    Label_CurrentTime = addValue(group, "Label_CurrentTime", valueX, 20, 150);
    addLabel(group, "Label_DurationCaption", QStringLiteral("Duration :"), rightCaptionX, 20, 110);
    Label_Duration = addValue(group, "Label_Duration", rightValueX, 20, 140);
    addLabel(group, "Label_FPSCaption", QStringLiteral("FPS :"), 16, 44, 104);
    Label_FPS = addValue(group, "Label_FPS", valueX, 44, 150);
    addLabel(group, "Label_CurrentFrameCaption", QStringLiteral("Current Frame :"), rightCaptionX, 44, 110);
    Label_CurrentFrame = addValue(group, "Label_CurrentFrame", rightValueX, 44, 140);

    // Bar 1 follows the step that runs; bar 2 the burn of the chains that
    // burn, which the converter does not: it stays hidden here.
    const struct {
        const char *caption, *captionName, *barName, *percentName;
        TsuiProgressBar **bar;
        QLabel **percent;
        bool shown;
    } bars[] = {
        {"Process :", "Label_Bar1", "suiProgressBar_1", "Label_Percent1", &suiProgressBar_1, &Label_Percent1, true},
        {"Burn :", "Label_Bar2", "suiProgressBar_2", "Label_Percent2", &suiProgressBar_2, &Label_Percent2, false},
    };
    int y = 74;
    for (const auto &row : bars) {
        TLabel *caption = addLabel(group, row.captionName, QLatin1String(row.caption), 16, y, 104);
        *row.bar = placeControl<TsuiProgressBar>(group, row.barName, valueX, y + 6, kBarWidth, 14);
        (*row.bar)->setRange(0, 100);
        (*row.bar)->setTextVisible(false);
        *row.percent = addValue(group, row.percentName, valueX + kBarWidth + 10, y, 60);
        for (QWidget *part : std::initializer_list<QWidget *>{caption, *row.bar, *row.percent})
            part->setVisible(row.shown);
        y += 28;
    }
}

void TConvertWindow::buildButtons()
{
    const int y = kClientHeight - 46;
    const int width = 110;
    suiImageButton_Start = placeControl<TsuiImageButton>(client(), "suiImageButton_Start",
                                                         kClientWidth - kMargin - 2 * width - 8, y, width, 32);
    suiImageButton_Start->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    suiImageButton_Start->setCaption(QStringLiteral("Start"));
    suiImageButton_Stop = placeControl<TsuiImageButton>(client(), "suiImageButton_Stop",
                                                        kClientWidth - kMargin - 2 * width - 8, y, width, 32);
    suiImageButton_Stop->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    suiImageButton_Stop->setCaption(QStringLiteral("Stop"));
    suiImageButton_Close =
        placeControl<TsuiImageButton>(client(), "suiImageButton_Close", kClientWidth - kMargin - width, y, width, 32);
    suiImageButton_Close->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    suiImageButton_Close->setCaption(QStringLiteral("Close"));

    connect(suiImageButton_Start, &QAbstractButton::clicked, this, &TConvertWindow::start);
    connect(suiImageButton_Stop, &QAbstractButton::clicked, this, [this] { chain_.stop(); });
    connect(suiImageButton_Close, &QAbstractButton::clicked, this, &TConvertWindow::closeButton);
}

void TConvertWindow::resetToIdle()
{
    run_.EndRun(vt::production::kOutcomeNone);
    Memo_Msg->clear();
    systemPair_->setFirstChosen(services_.settings.ntsc);
    resetProgressPanel();
    suiComboBox_OutputQuality->clear();
    for (int i = 0; i < kQualityCount; ++i)
        suiComboBox_OutputQuality->addItem(qt(services_.language.GetUIText(kFirstQualityText + i)));
    suiComboBox_OutputQuality->setCurrentIndex(services_.settings.outputQuality);
    suiEdit_OutputFolder->setText(qt(services_.settings.outputFolder));
}

void TConvertWindow::resetProgressPanel()
{
    durationSeconds_ = 0;
    Label_CurrentTime->setText(QStringLiteral("00:00:00"));
    Label_Duration->setText(QStringLiteral("00:00:00"));
    Label_FPS->setText(QStringLiteral("0"));
    Label_CurrentFrame->setText(QStringLiteral("0"));
    showProgress(1, 0);
    showProgress(2, 0);
}

void TConvertWindow::emptyWorkFolder()
{
    vt::common::EmptyWorkFolder(vt::common::OwnWorkFolder(services_.workFolder));
}

void TConvertWindow::showEvent(QShowEvent *event)
{
    TsuiForm::showEvent(event);
    if (event->spontaneous())
        return;
    resetToIdle();
    emptyWorkFolder();
    suiCheckBox_Deinterlace->setChecked(vt::production::DeinterlaceByDefault(services_.clips));
}

void TConvertWindow::start()
{
    if (run_.busy())
        return;
    vt::production::RunChoices choices;
    choices.ntsc = suiCheckBox_NTSC->isChecked();
    choices.aspect = aspect_;
    choices.qualityIndex = suiComboBox_OutputQuality->currentIndex();
    choices.deinterlace = suiCheckBox_Deinterlace->isChecked();
    choices.conversionJobs = services_.settings.parallelConversions;
    if (!services_.clips.empty())
        services_.settings.outputQuality = choices.qualityIndex;
    run_.setOutputFolder(services_.settings.outputFolder);
    resetProgressPanel();
    const int outcome = chain_.run(choices);
    if (outcome != vt::production::kProcessFinish)
        return;
    // The final figures: everything converted.
    Label_CurrentTime->setText(Label_Duration->text());
    showProgress(1, 100);
    const QString folder = qt(run_.folders().outputFolder);
    if (!vt::openWithDesktop(QUrl::fromLocalFile(folder)))
        showMessage(services_.language.GetUIText(vt::common::kNoOpenerText) + folder.toStdString());
}

void TConvertWindow::browse()
{
    const QString folder = vt::DialogService::current().chooseFolder(
        this, qt(services_.language.GetUIText(kBrowseCaptionText)), suiEdit_OutputFolder->text());
    if (folder.isEmpty())
        return;
    std::string refusal;
    services_.settings.outputFolder = vt::common::ValidateOutputFolder(
        folder.toStdString(), services_.settings.outputFolder, services_.folders, &refusal);
    suiEdit_OutputFolder->setText(qt(services_.settings.outputFolder));
    if (!refusal.empty())
        showMessage(refusal);
}

void TConvertWindow::closeButton()
{
    if (run_.busy()) {
        showMessage(services_.language.GetUIText(kStopFirstText));
        return;
    }
    reject();
}

void TConvertWindow::done(int result)
{
    if (run_.busy())
        return;
    emptyWorkFolder();
    if (!vt::production::StoreVideoFormatChoice(suiCheckBox_NTSC->isChecked(), services_.settings,
                                                services_.optionIniPath))
        vt::DialogService::current().error(this, qt("Can not write " + services_.optionIniPath));
    TsuiForm::done(result);
}

void TConvertWindow::logLine(const std::string &line)
{
    Memo_Msg->addLine(qt(line));
}

void TConvertWindow::showProgress(int bar, int value)
{
    (bar == 1 ? suiProgressBar_1 : suiProgressBar_2)->setValue(value);
    (bar == 1 ? Label_Percent1 : Label_Percent2)->setText(QString::number(value) + QStringLiteral(" %"));
}

void TConvertWindow::showBusy(bool busy)
{
    suiImageButton_Start->setVisible(!busy);
    suiImageButton_Stop->setVisible(busy);
    for (QWidget *choice : std::initializer_list<QWidget *>{
             suiImageButton_Browse, suiComboBox_OutputQuality, suiEdit_OutputFolder, suiCheckBox_NTSC,
             suiCheckBox_PAL, suiImageButton_NTSC, suiImageButton_PAL, suiCheckBox_Deinterlace})
        choice->setEnabled(!busy);
    if (busy)
        Memo_Msg->clear();
}

void TConvertWindow::showDuration(const std::string &hms)
{
    Label_Duration->setText(qt(hms));
    durationSeconds_ = secondsOf(hms);
}

void TConvertWindow::showConversionStatus(const vt::production::ConversionStatus &status)
{
    // The converter may report a little past a trimmed end; the panel never does.
    const int seconds = secondsOf(status.currentTime);
    Label_CurrentTime->setText(durationSeconds_ > 0 && seconds > durationSeconds_ ? Label_Duration->text()
                                                                                 : qt(status.currentTime));
    Label_FPS->setText(qt(status.fps));
    Label_CurrentFrame->setText(qt(status.currentFrame));
}

void TConvertWindow::showMessage(const std::string &text)
{
    vt::DialogService::current().information(this, qt(text));
}

bool TConvertWindow::askYesNo(const std::string &text)
{
    // The run waits for the answer, the display does not: the progress
    // timers go on ticking while the question is open.
    QTimer live;
    connect(&live, &QTimer::timeout, this, [this] {
        run_.conversionTimer.poll();
        run_.muxTimer.poll();
        run_.authorTimer.poll();
    });
    live.start(100);
    return vt::DialogService::current().confirmDestructive(this, qt(text));
}

void TConvertWindow::processEvents()
{
    QCoreApplication::processEvents();
}
