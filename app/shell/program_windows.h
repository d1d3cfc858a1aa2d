// Every window of the program, created once at start-up in a fixed order
// and kept until the program ends. Windows of the working modes that are
// not built yet are present as empty named windows, so that the creation
// order and the localisation of all windows are already real.
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
class TSetupSubtitleWindow;

namespace vt::burn {
class BurnerFacade;
}

namespace vt::shell {

class SharedBitmaps;

// What the windows work with.
struct ProgramServices {
    Settings &settings;
    UiLanguage &language;
    SharedBitmaps &bitmaps;
    SettingsEnvironment environment;
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
    QDialog *SetupMenuWindow = nullptr;
    TSetupChapterWindow *SetupChapterWindow = nullptr;
    QDialog *SetupTextWindow = nullptr;
    QDialog *SetupImageWindow = nullptr;
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
    QDialog *addLaterWindow(const char *name, const char *title);
    template <typename W>
    W *add(W *window);

    std::vector<QWidget *> windows_;
    std::unique_ptr<vt::burn::BurnerFacade> burner_;
    int burnerIndex_ = -1;  // the drive chosen last in any window
};

} // namespace vt::shell
