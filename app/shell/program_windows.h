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
class TConvertWindow;
class TMainWindow;
class TOptionWindow;
class TSetupChapterWindow;
class TSetupClipWindow;
class TSetupImageWindow;
class TSetupMenuWindow;
class TSetupSubtitleWindow;
class TSetupTextWindow;

namespace vt::common {
class SharedBitmaps;
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
    QDialog *SetupDVDFileWindow = nullptr;
    QDialog *CompilerWindow = nullptr;
    TConvertWindow *ConvertWindow = nullptr;
    QDialog *BurnWindow = nullptr;
    QDialog *BuilderWindow = nullptr;
    QDialog *DeviceWindow = nullptr;

private:
    QDialog *addLaterWindow(const char *name, const char *title);
    template <typename W>
    W *add(W *window);

    std::vector<QWidget *> windows_;
};

} // namespace vt::shell
