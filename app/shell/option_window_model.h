// The settings window's logic: loading "Option.ini" into the controls and
// the program-wide settings, saving them, the OK button, the language list
// handlers. The window (a thin view) shows OptionControls and calls these.
#pragma once

#include "app/common/region_list.h"
#include "app/common/settings.h"
#include "app/common/settings_environment.h"
#include "app/common/ui_language.h"
#include "app/common/work_folders.h"
#include "app/shell/option_controls.h"
#include "platform/registry.h"

#include <string>

namespace vt::shell {

struct OkResult {
    bool saved = false;
    std::string error;        // why saving failed
    bool restartNotice = false;
    std::string restartText;  // the (localised) notice that the engine change needs a restart
};

class OptionWindowModel {
public:
    OptionWindowModel(common::Settings &settings, common::UiLanguage &language, common::SettingsEnvironment environment);

    // Creation: fill the two language lists, then LoadSettings.
    void create();
    // Every show: unconfirmed, General page, LoadSettings.
    void show();

    void LoadSettings();
    // False, with error() set, when the file cannot be written.
    bool SaveSettings();
    // OK: copy the controls into the settings (font size too), save, confirm.
    OkResult ok();

    // Copies the controls into the settings (without the font size list).
    void copyControlsToSettings();

    // Fills the font file, character set and language code lists with the
    // properties of the chosen user language, and sets the font size list.
    void subtitleLanguageChanged();
    // The Load button: store the edited user subtitle language; with a
    // field left empty, the message names what is missing.
    common::AddRegionResult loadUserSubtitleLanguage();
    // A folder chosen in the folder dialog goes into the output folder box
    // (the settings take it on OK); when it is refused, the reason to show
    // the user (otherwise "").
    std::string browse(const std::string &chosenFolder);
    void switchPage(OptionPage newPage) { page = newPage; }

    const std::string &error() const { return error_; }
    const common::SettingsEnvironment &environment() const { return environment_; }

    OptionControls controls;
    bool confirmed = false;
    OptionPage page = OptionPage::General;

private:
    void fillLanguageLists();
    void loadUILanguageName(const std::string &stored);

    common::Settings &settings_;
    common::UiLanguage &language_;
    common::SettingsEnvironment environment_;
    std::string error_;
    std::vector<std::string> fontFiles_, characterSets_;
};

} // namespace vt::shell
