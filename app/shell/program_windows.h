// Every window of the program, created once at start-up in a fixed order
// (the order they are localised in) and kept until the program ends; the
// composition root that hands each window its services and next windows.
#pragma once

#include "app/shell/option_window_model.h"

#include <QDialog>

#include <memory>
#include <vector>

class TAboutWindow;
class TBuilderWindow;
class TBurnWindow;
class TCompilerWindow;
class TConvertWindow;
class TDeviceWindow;
class TMainWindow;
class TOptionWindow;
class TSetupChapterWindow;
class TSetupClipWindow;
class TSetupDVDFileWindow;
class TSetupImageWindow;
class TSetupMenuWindow;
class TSetupSubtitleWindow;
class TSetupTextWindow;

namespace vt::common {
class SharedBitmaps;
}

namespace vt::production {
struct DiscMenus;
}

namespace vt::burn {
class BurnerFacade;
}

namespace vt::shell {

// What the windows work with.
struct ProgramServices {
    common::Settings &settings;
    common::UiLanguage &language;
    common::SharedBitmaps &bitmaps;
    common::SettingsEnvironment environment;
    std::string programFolder;  // ExePath: data files, RES/, help, version file
};

class ProgramWindows {
public:
    // Creates the windows in their order; the settings window loads the
    // settings while it is created, so every window after it sees them.
    explicit ProgramWindows(ProgramServices services);
    // Destroys them in the reverse order (the settings window saves).
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    // All fifteen, in creation (and localisation) order.
    const std::vector<QWidget *> &inOrder() const { return windows_; }

    TMainWindow *MainWindow = nullptr;
    TOptionWindow *OptionWindow = nullptr;
    TSetupClipWindow *SetupClipWindow = nullptr;
    TSetupSubtitleWindow *SetupSubtitleWindow = nullptr;
    TSetupMenuWindow *SetupMenuWindow = nullptr;
    TSetupChapterWindow *SetupChapterWindow = nullptr;
    TSetupTextWindow *SetupTextWindow = nullptr;
    TSetupImageWindow *SetupImageWindow = nullptr;
    TAboutWindow *AboutWindow = nullptr;
    TSetupDVDFileWindow *SetupDVDFileWindow = nullptr;
    TCompilerWindow *CompilerWindow = nullptr;
    TConvertWindow *ConvertWindow = nullptr;
    TBurnWindow *BurnWindow = nullptr;
    TBuilderWindow *BuilderWindow = nullptr;
    TDeviceWindow *DeviceWindow = nullptr;

    // The one way the windows reach a burner.
    vt::burn::BurnerFacade &burner() { return *burner_; }

private:
    template <typename W>
    W *add(W *window);

    std::vector<QWidget *> windows_;
    std::unique_ptr<vt::burn::BurnerFacade> burner_;
    int burnerIndex_ = -1;  // the drive chosen last in any window
    // The designed menus the menu editor handed to the builder or compiler.
    std::unique_ptr<vt::production::DiscMenus> discMenus_;
};

} // namespace vt::shell
