// The production windows that end with a disc: the one-step builder, the
// compiler and the burn window. One layout (output, video, burner and
// progress groups, the log, Start, Stop and Close) of which each window
// shows the groups it uses, the burner group's drive and speed lists, the
// device button, the run's view and the burn step's questions.
#pragma once

#include "app/burn/burn_step.h"
#include "app/production/production_run.h"
#include "app/production/production_view.h"
#include "app/common/region_list.h"
#include "app/common/work_folders.h"
#include "app/widgets/sui_form.h"

#include <functional>
#include <string>

class TLabel;
class TsuiCheckBox;
class TsuiComboBox;
class TsuiEdit;
class TsuiGroupBox;
class TsuiImageButton;
class TsuiMemo;
class TsuiProgressBar;

namespace vt {
class ExclusivePair;
}
namespace vt::project {
class ClipRecordList;
}
namespace vt::common {
struct Settings;
class UiLanguage;
} // namespace vt::shell

namespace vt::burn {

class DvdFolderChain;

// What the disc windows work with.
struct DiscWindowServices {
    common::Settings &settings;
    common::UiLanguage &language;
    project::ClipRecordList &clips;
    BurnerFacade &facade;
    int &burnerIndex;           // the drive chosen last, -1 at first (program-wide)
    common::RegionList regions;
    std::string programFolder;  // the engines' folder (ExePath)
    std::string workFolder;
    std::string optionIniPath;  // where a changed TV system is written
    common::FolderContext folders;
    // Opens the device window for a drive (modal).
    std::function<void(int drive)> openDeviceWindow;
};

} // namespace vt::burn

class TDiscWindow : public TsuiForm, public vt::production::ProductionView, public vt::burn::BurnDialogs {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 600;

    enum Group { OutputGroup = 1, QualityRow = 2, VideoGroup = 4 };

    TDiscWindow(const char *name, const char *title, int groups, vt::burn::DiscWindowServices services,
                QWidget *parent = nullptr);
    ~TDiscWindow() override;

    bool busy() const { return run_.busy(); }
    // The outcome of the last run (-1 none).
    int outcome() const { return run_.outcome(); }
    vt::production::ProductionRun &run() { return run_; }

    // Refills the drive list with the drive requested (-1: the first that
    // lists speeds); ignored while a run is busy.
    void fillDrives(int requested);

    // ProductionView
    void logLine(const std::string &line) override;
    void showProgress(int bar, int value) override;
    void showBusy(bool busy) override;
    void showDuration(const std::string &hms) override;
    void showConversionStatus(const vt::production::ConversionStatus &status) override;
    void showMessage(const std::string &text) override;
    bool askYesNo(const std::string &text) override;
    void processEvents() override;

    // BurnDialogs
    bool askBurnToDisc(const std::string &text) override;
    bool askOkCancel(const std::string &text) override;
    void showError(const std::string &text) override;

public slots:
    // Refused while a run is busy; otherwise the closing clean-up.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

    // The window's own run, from Start.
    virtual void start() = 0;
    virtual void stop() {}
    // The one-step window keeps the TV system the user chose.
    virtual bool keepsVideoFormat() const { return false; }

    // The builder's and compiler's run: the device question, the chain to
    // the DVD folder, then the burn step or (without burning) the output
    // folder opened; outcome 1 at the end.
    void runDiscChain(vt::burn::DvdFolderChain &chain, const vt::production::RunChoices &choices);
    // The burn step over the job of the controls, ending the run with 1 when
    // it burned; false when it ended the run otherwise.
    bool burnAndFinish(const std::string &videoTsFolder);
    vt::production::RunChoices choicesFromControls(int aspect) const;
    vt::burn::BurnJob jobFromControls(const std::string &videoTsFolder) const;
    std::string text(int number) const;

    vt::burn::DiscWindowServices services_;
    vt::production::ProductionRun run_;
    vt::burn::BurnStep burnStep_;
    vt::burn::BurnerMessages discoveryMessages_;

    TsuiGroupBox *suiGroupBox_Output, *suiGroupBox_Video, *suiGroupBox_Burner, *suiGroupBox_Progress;
    TLabel *Label_OutputFolder, *Label_OutputQuality;
    TsuiEdit *suiEdit_OutputFolder;
    TsuiImageButton *suiImageButton_Browse;
    TsuiComboBox *suiComboBox_OutputQuality;
    TsuiCheckBox *suiCheckBox_NTSC, *suiCheckBox_PAL, *suiCheckBox_Deinterlace;
    TsuiImageButton *suiImageButton_NTSC, *suiImageButton_PAL;
    TsuiComboBox *suiComboBox_Burner, *suiComboBox_WriteSpeed;
    TsuiEdit *suiEdit_DiscVolume;
    TsuiImageButton *suiImageButton_Device;
    TLabel *Label_CurrentTime, *Label_Duration, *Label_FPS, *Label_CurrentFrame;
    TsuiProgressBar *suiProgressBar_1, *suiProgressBar_2;
    TLabel *Label_Percent1, *Label_Percent2;
    TsuiMemo *Memo_Msg;
    TsuiImageButton *suiImageButton_Start, *suiImageButton_Stop, *suiImageButton_Close;

private:
    void buildOutputGroup();
    void buildVideoGroup();
    void buildBurnerGroup();
    void buildProgressGroup();
    void buildButtons(int y);
    TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int width);
    void resetToIdle();
    void emptyWorkFolder();
    void fillSpeeds(int drive);
    void driveChosen(int index);
    void deviceButton();
    void browse();
    void closeButton();
    void enableLists();

    int groups_;
    vt::ExclusivePair *systemPair_ = nullptr;
    bool fillingDrives_ = false;
    bool handlingDeviceClick_ = false;
    bool speedsUsable_ = false;
};
