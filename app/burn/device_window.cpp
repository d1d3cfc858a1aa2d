#include "app/burn/device_window.h"

#include "app/burn/burner_facade.h"
#include "app/common/ui_language.h"
#include "app/common/ui_text_ids.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/place_control.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_group_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_progress_bar.h"

#include <QCoreApplication>

using vt::placeControl;

namespace {

constexpr int kMargin = 12;
constexpr int kRowHeight = 22;

QString qt(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

TDeviceWindow::TDeviceWindow(vt::burn::BurnerFacade &facade, vt::common::UiLanguage &language, QWidget *parent)
    : TsuiForm(parent)
    , facade_(facade)
    , language_(language)
    , messages_({}, [] { QCoreApplication::processEvents(); })
{
    setObjectName(QStringLiteral("DeviceWindow"));
    setWindowTitle(QStringLiteral("Burner Devices"));
    setClientSize(kClientWidth, kClientHeight);
    setModal(true);

    const int width = kClientWidth - 2 * kMargin;
    auto *disc = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Disc", kMargin, 10, width, 142);
    disc->setTitle(QStringLiteral("Disc"));
    lblType = addRow(disc, "Disc Type :", "lblType", 22);
    lblAvailableSize = addRow(disc, "Available Size (MB) :", "lblAvailableSize", 44);
    lblUsedSize = addRow(disc, "Used Size (MB) :", "lblUsedSize", 66);
    lblTracks = addRow(disc, "Tracks :", "lblTracks", 88);
    lblSessions = addRow(disc, "Sessions :", "lblSessions", 110);

    auto *device = placeControl<TsuiGroupBox>(client(), "suiGroupBox_Device", kMargin, 160, width, 140);
    device->setTitle(QStringLiteral("Device"));
    lblDriveType = addRow(device, "Device :", "lblDriveType", 22);
    lblMaxRead = addRow(device, "Max. Read Speed :", "lblMaxRead", 44);
    lblMaxWrite = addRow(device, "Max. Write Speed :", "lblMaxWrite", 66);
    const struct {
        const char *name, *caption;
        TsuiCheckBox **box;
    } boxes[] = {
        {"DVDPLUS_R", "DVD+R", &DVDPLUS_R},       {"DVD_R", "DVD-R", &DVD_R},
        {"DVDPLUS_RW", "DVD+RW", &DVDPLUS_RW},    {"DVD_RW", "DVD-RW", &DVD_RW},
        {"DVDPLUS_R_DL", "DVD+R DL", &DVDPLUS_R_DL}, {"DVD_R_DL", "DVD-R DL", &DVD_R_DL},
    };
    for (size_t i = 0; i < std::size(boxes); ++i) {
        auto *box = placeControl<TsuiCheckBox>(device, boxes[i].name, 16 + int(i % 3) * 140, 90 + int(i / 3) * 22,
                                               130, kRowHeight);
        box->setText(QLatin1String(boxes[i].caption));
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        *boxes[i].box = box;
    }

    suiProgressBar_Erase = placeControl<TsuiProgressBar>(client(), "suiProgressBar_Erase", kMargin, 314, 300, 14);
    suiProgressBar_Erase->setRange(0, 100);
    suiProgressBar_Erase->setTextVisible(false);
    Label_ErasePercent = placeControl<TLabel>(client(), "Label_ErasePercent", kMargin + 308, 310, 50, kRowHeight);
    Label_UsedTime = placeControl<TLabel>(client(), "Label_UsedTime", kMargin + 360, 310, 80, kRowHeight);

    suiImageButton_Start = placeControl<TsuiImageButton>(client(), "suiImageButton_Start", kClientWidth - 2 * 110 - 20,
                                                         kClientHeight - 46, 110, 32);
    suiImageButton_Start->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    suiImageButton_Start->setCaption(QStringLiteral("Erase"));
    suiImageButton_Close = placeControl<TsuiImageButton>(client(), "suiImageButton_Close", kClientWidth - 110 - kMargin,
                                                         kClientHeight - 46, 110, 32);
    suiImageButton_Close->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    suiImageButton_Close->setCaption(QStringLiteral("Close"));
    connect(suiImageButton_Start, &QAbstractButton::clicked, this, &TDeviceWindow::erase);
    connect(suiImageButton_Close, &QAbstractButton::clicked, this, &TDeviceWindow::closeButton);

    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &TDeviceWindow::tick);
}

TLabel *TDeviceWindow::addRow(QWidget *parent, const char *caption, const char *name, int y)
{
    // The row's title is named after its value so a language file can set it.
    auto *title = placeControl<TLabel>(parent, (std::string(name) + "Title").c_str(), 16, y, 150, kRowHeight);
    title->setText(QLatin1String(caption));
    auto *value = placeControl<TLabel>(parent, name, 170, y, kClientWidth - 2 * kMargin - 186, kRowHeight);
    return value;
}

std::string TDeviceWindow::text(int number) const
{
    return language_.GetUIText(number);
}

void TDeviceWindow::prepare(int drive)
{
    facade_.RegisterNotifyWindow(messages_.target());
    erasing_ = false;
    drive_ = drive;
    timer_.stop();
    showFacts();
    trayLocked_ = facade_.Lock();
    ticks_ = 0;
    suiProgressBar_Erase->setValue(0);
    Label_ErasePercent->setText(QStringLiteral("0 %"));
    Label_UsedTime->setText(QStringLiteral("00:00:00"));
}

void TDeviceWindow::showFacts()
{
    report_ = vt::burn::ReadDeviceReport(facade_, drive_);
    lblType->setText(qt(report_.discType));
    lblAvailableSize->setText(qt(report_.availableMB));
    lblUsedSize->setText(qt(report_.usedMB));
    lblTracks->setText(qt(report_.tracks));
    lblSessions->setText(qt(report_.sessions));
    suiImageButton_Start->setEnabled(report_.canErase);
    lblDriveType->setText(qt(report_.driveType));
    lblMaxRead->setText(qt(report_.maxRead));
    lblMaxWrite->setText(qt(report_.maxWrite));
    DVD_R->setChecked(report_.dvdMinusR);
    DVD_RW->setChecked(report_.dvdMinusR);
    DVDPLUS_R->setChecked(report_.dvdPlusR);
    DVDPLUS_RW->setChecked(report_.dvdPlusRW);
    DVDPLUS_R_DL->setChecked(report_.dualLayer);
    DVD_R_DL->setChecked(report_.dualLayer);
}

void TDeviceWindow::openFor(int drive)
{
    prepare(drive);
    exec();
}

void TDeviceWindow::erase()
{
    if (erasing_) {
        vt::DialogService::current().information(this, qt(text(vt::common::kErasingNowText)));
        return;
    }
    if (!vt::DialogService::current().askYesNo(this, qt(text(vt::common::kEraseQuestionText))))
        return;
    erasing_ = true;
    suiImageButton_Start->setEnabled(false);
    ticks_ = 0;
    timer_.start();
    const bool erased = facade_.EraseDisc();
    timer_.stop();
    erasing_ = false;
    suiProgressBar_Erase->setValue(100);
    Label_ErasePercent->setText(QStringLiteral("100 %"));
    if (erased)
        vt::DialogService::current().information(this, qt(text(vt::common::kEraseFinishText)));
    else
        vt::DialogService::current().error(this, qt(text(vt::common::kCannotEraseText)));
    // The disc changed: show what it is now.
    showFacts();
}

void TDeviceWindow::tick()
{
    const vt::burn::EraseTick shown = vt::burn::EraseTickDisplay(ticks_);
    Label_UsedTime->setText(qt(shown.elapsed));
    suiProgressBar_Erase->setValue(shown.percent);
    Label_ErasePercent->setText(QString::number(shown.percent) + QStringLiteral(" %"));
    ++ticks_;
}

void TDeviceWindow::closeButton()
{
    reject();
}

void TDeviceWindow::done(int result)
{
    if (erasing_) {
        vt::DialogService::current().information(this, qt(text(vt::common::kErasingNowText)));
        return;
    }
    timer_.stop();
    if (trayLocked_)
        facade_.Unlock();
    trayLocked_ = false;
    TsuiForm::done(result);
}
