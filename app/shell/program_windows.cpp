#include "app/shell/program_windows.h"

#include "app/production/convert_window.h"
#include "app/project/clip_record.h"
#include "app/project/setup_chapter_window.h"
#include "app/project/setup_clip_window.h"
#include "app/project/setup_subtitle_window.h"
#include "app/shell/about_window.h"
#include "app/shell/main_window.h"
#include "app/shell/option_window.h"
#include "app/common/program_files.h"
#include "app/widgets/sui_form.h"

namespace vt::shell {

namespace {

// The client size of a working window whose contents are still to come.
constexpr int kLaterWindowWidth = 640, kLaterWindowHeight = 420;

} // namespace

template <typename W>
W *ProgramWindows::add(W *window)
{
    windows_.push_back(window);
    return window;
}

QDialog *ProgramWindows::addLaterWindow(const char *name, const char *title)
{
    auto *window = new TsuiForm;
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(QLatin1String(title));
    window->setModal(true);
    window->setClientSize(kLaterWindowWidth, kLaterWindowHeight);
    return add(window);
}

ProgramWindows::ProgramWindows(ProgramServices services)
{
    MainWindow = add(new TMainWindow(*this, services.language, services.bitmaps, services.programFolder));
    // The settings window keeps the environment; the subtitle window needs
    // its region list, the production windows its output-folder rules and
    // settings file.
    RegionList regions = services.environment.regions;
    const FolderContext folders = services.environment.folders;
    const std::string optionIni = services.environment.optionIniWrite;
    OptionWindow = add(new TOptionWindow(services.settings, services.language, std::move(services.environment)));
    SetupClipWindow = add(new TSetupClipWindow(vt::project::programClips(), services.settings, services.bitmaps));
    SetupClipWindow->setLanguage(services.language);
    SetupSubtitleWindow = add(new TSetupSubtitleWindow(services.settings, std::move(regions), optionIni));
    SetupMenuWindow = addLaterWindow("SetupMenuWindow", "DVD Menu");
    SetupChapterWindow = add(new TSetupChapterWindow);
    SetupTextWindow = addLaterWindow("SetupTextWindow", "Text Properties");
    SetupImageWindow = addLaterWindow("SetupImageWindow", "Picture Properties");
    AboutWindow = add(new TAboutWindow(services.programFolder + kVersionIni));
    SetupDVDFileWindow = addLaterWindow("SetupDVDFileWindow", "Burn Source");
    CompilerWindow = addLaterWindow("CompilerWindow", "Compiler");
    ConvertWindow = add(new TConvertWindow(ConvertWindowServices{services.settings, services.language,
                                                                 project::programClips(), services.programFolder,
                                                                 folders.workFolder, optionIni, folders}));
    BurnWindow = addLaterWindow("BurnWindow", "Burner");
    BuilderWindow = addLaterWindow("BuilderWindow", "One-Step Builder");
    DeviceWindow = addLaterWindow("DeviceWindow", "Burner Devices");

    TSetupClipWindow::NextWindows next;
    next.menuWindow = SetupMenuWindow;
    next.builderWindow = BuilderWindow;
    next.convertWindow = ConvertWindow;
    next.optionWindow = OptionWindow;
    next.subtitleWindow = SetupSubtitleWindow;
    next.prepare = [this](QDialog *window) {
        if (window == ConvertWindow)
            ConvertWindow->setAspect(SetupClipWindow->pictureShape4_3() ? production::kAspect4x3 : production::kAspect16x9);
    };
    SetupClipWindow->setNextWindows(next);
}

ProgramWindows::~ProgramWindows()
{
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        delete *it;
}

} // namespace vt::shell
