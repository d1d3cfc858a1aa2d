// The settings window: three pages (General, Language, Burner) over the
// settings logic of OptionWindowModel, OK and Cancel.
#pragma once

#include "app/shell/option_window_model.h"
#include "app/widgets/sui_form.h"

class TLabel;
class TsuiCheckBox;
class TsuiComboBox;
class TsuiEdit;
class TsuiFontSizeComboBox;
class TsuiGroupBox;
class TsuiImageButton;
class TsuiImagePanel;
class TsuiSpinEdit;

namespace vt {
class ExclusivePair;
}

class TOptionWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 470;
    static constexpr int kClientHeight = 362;

    // Loads the settings into the controls and the program-wide settings
    // at once (creation); every show loads them again.
    TOptionWindow(vt::common::Settings &settings, vt::common::UiLanguage &language,
                  vt::common::SettingsEnvironment environment, QWidget *parent = nullptr);
    // Saves the settings once more (program exit).
    ~TOptionWindow() override;

    // Set by OK, cleared by every show.
    bool confirmed() const { return model_.confirmed; }
    vt::shell::OptionPage page() const { return model_.page; }
    void switchPage(vt::shell::OptionPage page);
    const vt::shell::OptionWindowModel &model() const { return model_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildGeneralPage();
    void buildLanguagePage();
    void buildBurnerPage();
    TsuiImageButton *addTabButton(const char *name, const QString &caption, int x);
    // One box of an exclusive pair, with the small picture button that
    // chooses it (none when button is nullptr).
    struct PairBox {
        const char *name;
        const char *caption;
        const char *button = nullptr;
        const char *picture = nullptr;
    };
    vt::ExclusivePair *addPair(QWidget *page, int y, const PairBox &first, const PairBox &second);

    // The model's controls into the widgets, and the widgets' state back.
    void showControls();
    void readControls();

    void ok();
    void browse();
    void loadUserSubtitleLanguage();
    void subtitleLanguageChanged();

    vt::common::UiLanguage &language_;
    vt::shell::OptionWindowModel model_;
    bool showingControls_ = false;

    TsuiImageButton *suiImageButton_General, *suiImageButton_Language, *suiImageButton_Burner;
    TsuiImagePanel *suiImagePanel_General, *suiImagePanel_Language, *suiImagePanel_Burner;

    TsuiCheckBox *suiCheckBox_DeleteTemp;
    vt::ExclusivePair *ratioPair_, *systemPair_, *discPair_;
    TsuiSpinEdit *suiSpinEdit_Duration, *suiSpinEdit_DVDMenuSafeDistance;
    TsuiComboBox *suiComboBox_MenuLanguage;
    TsuiEdit *suiEdit_OutputFolder;

    TsuiFontSizeComboBox *suiFontSizeComboBox;
    TsuiComboBox *suiComboBox_SubtitleLanguage, *suiComboBox_FontFile, *suiComboBox_CharSet,
        *suiComboBox_LanguageCode;

    vt::ExclusivePair *burnerPair_, *transportPair_;
    TsuiCheckBox *suiCheckBox3;
    TLabel *Label3;
};
