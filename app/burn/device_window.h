// The device window: the facts of a drive and its disc, and erasing a
// rewritable disc that holds data.
#pragma once

#include "app/burn/burner_messages.h"
#include "app/burn/device_report.h"
#include "app/widgets/sui_form.h"

#include <QTimer>

class TLabel;
class TsuiCheckBox;
class TsuiImageButton;
class TsuiProgressBar;

namespace vt::burn {
class BurnerFacade;
}
namespace vt::common {
class UiLanguage;
}

class TDeviceWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 460;
    static constexpr int kClientHeight = 392;
    static constexpr int kTickMs = 500;

    TDeviceWindow(vt::burn::BurnerFacade &facade, vt::common::UiLanguage &language, QWidget *parent = nullptr);

    // Reads the drive's and disc's facts, locks the tray and shows the
    // window modally.
    void openFor(int drive);
    // The same without showing it (the window's state for a later show).
    void prepare(int drive);

    bool erasing() const { return erasing_; }
    const vt::burn::DeviceReport &report() const { return report_; }

public slots:
    // Refused while erasing (text 134); otherwise the timer stops and the
    // tray is unlocked.
    void done(int result) override;

private:
    TLabel *addRow(QWidget *parent, const char *caption, const char *name, int y);
    void showFacts();
    void erase();
    void tick();
    void closeButton();
    std::string text(int number) const;

    vt::burn::BurnerFacade &facade_;
    vt::common::UiLanguage &language_;
    vt::burn::BurnerMessages messages_;
    vt::burn::DeviceReport report_;
    int drive_ = 0;
    bool erasing_ = false;
    bool trayLocked_ = false;
    int ticks_ = 0;
    QTimer timer_;

    TLabel *lblType, *lblAvailableSize, *lblUsedSize, *lblTracks, *lblSessions;
    TLabel *lblDriveType, *lblMaxRead, *lblMaxWrite;
    TsuiCheckBox *DVDPLUS_R, *DVD_R, *DVDPLUS_RW, *DVD_RW, *DVDPLUS_R_DL, *DVD_R_DL;
    TsuiProgressBar *suiProgressBar_Erase;
    TLabel *Label_ErasePercent, *Label_UsedTime;
    TsuiImageButton *suiImageButton_Start, *suiImageButton_Close;
};
