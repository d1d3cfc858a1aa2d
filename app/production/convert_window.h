// The converter mode's production window: every clip of the project to a
// VOB file in the output folder. A view over ConversionChain; the clip list
// window sets the picture shape and shows it modally.
#pragma once

#include "app/common/work_folders.h"
#include "app/production/conversion_chain.h"
#include "app/production/production_run.h"
#include "app/production/production_view.h"
#include "app/widgets/sui_form.h"

#include <string>

class QLabel;
class TLabel;
class TsuiCheckBox;
class TsuiComboBox;
class TsuiEdit;
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

// What the converter window works with.
struct ConvertWindowServices {
    vt::common::Settings &settings;
    vt::common::UiLanguage &language;
    vt::project::ClipRecordList &clips;
    std::string programFolder;  // the converter library's folder (ExePath)
    std::string workFolder;     // emptied when shown, at Start and when closed
    std::string optionIniPath;  // where a changed TV system is written
    vt::common::FolderContext folders;  // where Browse may put the output folder
};

class TConvertWindow : public TsuiForm, public vt::production::ProductionView {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 600;
    static constexpr int kClientHeight = 478;

    explicit TConvertWindow(ConvertWindowServices services, QWidget *parent = nullptr);

    // The picture shape of the run (4:3 or 16:9); set by the window that
    // opens this one.
    void setAspect(int aspect) { aspect_ = aspect; }
    int aspect() const { return aspect_; }
    bool busy() const { return run_.busy(); }
    // The outcome of the last run (-1 none).
    int outcome() const { return run_.outcome(); }

    // ProductionView
    void logLine(const std::string &line) override;
    void showProgress(int bar, int value) override;
    void showBusy(bool busy) override;
    void showDuration(const std::string &hms) override;
    void showConversionStatus(const vt::production::ConversionStatus &status) override;
    void showMessage(const std::string &text) override;
    bool askYesNo(const std::string &text) override;
    void processEvents() override;

public slots:
    // Refused while a run is busy; otherwise the closing clean-up.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildOutputGroup();
    void buildVideoGroup();
    void buildProgressGroup();
    void buildButtons();
    TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int width);
    QLabel *addValue(QWidget *parent, const char *name, int x, int y, int width);

    // Idle, empty log, labels and bars at zero, choices from the settings.
    void resetToIdle();
    // The figures and bars of a run at zero.
    void resetProgressPanel();
    void emptyWorkFolder();
    void start();
    void browse();
    void closeButton();

    ConvertWindowServices services_;
    vt::production::ProductionRun run_;
    vt::production::ConversionChain chain_;
    int aspect_;

    TsuiEdit *suiEdit_OutputFolder;
    TsuiImageButton *suiImageButton_Browse;
    TsuiComboBox *suiComboBox_OutputQuality;
    TsuiCheckBox *suiCheckBox_NTSC, *suiCheckBox_PAL, *suiCheckBox_Deinterlace;
    TsuiImageButton *suiImageButton_NTSC, *suiImageButton_PAL;
    vt::ExclusivePair *systemPair_;
    QLabel *Label_CurrentTime, *Label_Duration, *Label_FPS, *Label_CurrentFrame;
    int durationSeconds_ = 0;  // of the run's duration figure
    TsuiProgressBar *suiProgressBar_1, *suiProgressBar_2;
    QLabel *Label_Percent1, *Label_Percent2;
    TsuiMemo *Memo_Msg;
    TsuiImageButton *suiImageButton_Start, *suiImageButton_Stop, *suiImageButton_Close;
};
