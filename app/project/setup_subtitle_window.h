// The subtitle window: one clip's SRT file, subtitle language and font
// size, with a sample line drawn over the clip's picture. Nothing reaches
// the clip before OK.
#pragma once

#include "app/project/subtitle_setup.h"
#include "app/common/region_list.h"
#include "app/widgets/sui_form.h"

#include <memory>

class QLabel;
class TLabel;
class TsuiComboBox;
class TsuiFontComboBox;
class TsuiFontSizeComboBox;

namespace vt::common {
struct Settings;
}

class TSetupSubtitleWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 465, kClientHeight = 339;
    // The sample bitmap the text is laid out on, shown scaled to the preview.
    static constexpr int kSampleWidth = 720, kSampleHeight = 540, kSampleBaseline = 510;

    // optionIniPath: where OK writes the subtitle defaults.
    TSetupSubtitleWindow(vt::common::Settings &settings, vt::common::RegionList regions, std::string optionIniPath,
                         QWidget *parent = nullptr);
    ~TSetupSubtitleWindow() override;

    // Loads the clip, shows the window modally; true when the user chose OK.
    bool editClip(vt::project::ClipRecord &clip);
    // Loads the clip without showing the window (editClip's first half).
    void loadClip(vt::project::ClipRecord &clip);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillLanguages();
    void drawSample();
    void loadFile();
    void clearFile();
    void ok();

    vt::common::Settings &settings_;
    vt::common::RegionList regions_;
    std::string optionIniPath_;
    vt::project::ClipRecord *clip_ = nullptr;
    std::unique_ptr<vt::project::SubtitleSetup> session_;

    TsuiComboBox *suiComboBox_SubtitleLanguage;
    TsuiFontSizeComboBox *suiFontSizeComboBox;
    TsuiFontComboBox *suiFontComboBox;
    TLabel *Label_Subtitle;
    QLabel *Image_Preview, *Image_PreviewSubtitle;
};
