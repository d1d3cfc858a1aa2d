#include "app/shell/program_windows.h"

#include "app/burn/builder_window.h"
#include "app/burn/burn_window.h"
#include "app/burn/burner_facade.h"
#include "app/burn/compiler_window.h"
#include "app/burn/device_window.h"
#include "app/burn/nms_dvd_engine.h"
#include "app/burn/setup_dvd_file_window.h"
#include "app/common/program_files.h"
#include "app/menu/menu_design.h"
#include "app/menu/setup_image_window.h"
#include "app/menu/setup_menu_window.h"
#include "app/menu/setup_text_window.h"
#include "app/production/convert_window.h"
#include "app/production/disc_menus.h"
#include "app/project/clip_record.h"
#include "app/project/setup_chapter_window.h"
#include "app/project/setup_clip_window.h"
#include "app/project/setup_subtitle_window.h"
#include "app/shell/about_window.h"
#include "app/shell/main_window.h"
#include "app/shell/option_window.h"
#include "app/widgets/sui_form.h"

namespace vt::shell {

template <typename W>
W *ProgramWindows::add(W *window)
{
    windows_.push_back(window);
    return window;
}

ProgramWindows::ProgramWindows(ProgramServices services)
{
    MainWindow = add(new TMainWindow(*this, services.language, services.bitmaps, services.programFolder));
    // The settings window keeps the environment; the subtitle window needs
    // its region list, the production windows its output-folder rules and
    // settings file.
    common::RegionList regions = services.environment.regions;
    common::RegionList discRegions = services.environment.regions;
    const common::FolderContext folders = services.environment.folders;
    const std::string optionIni = services.environment.optionIniWrite;
    OptionWindow = add(new TOptionWindow(services.settings, services.language, std::move(services.environment)));
    SetupClipWindow = add(new TSetupClipWindow(vt::project::programClips(), services.settings, services.language, services.bitmaps));
    SetupSubtitleWindow = add(new TSetupSubtitleWindow(services.settings, services.language, std::move(regions), optionIni));
    SetupMenuWindow = add(new TSetupMenuWindow({menu::programMenuDesign(), project::programClips(), services.settings,
                                                services.language, services.bitmaps, services.programFolder, ""}));
    SetupChapterWindow = add(new TSetupChapterWindow(services.language));
    SetupTextWindow = add(new TSetupTextWindow(services.language));
    SetupImageWindow = add(new TSetupImageWindow(services.language));
    AboutWindow = add(new TAboutWindow(services.programFolder + common::kVersionIni));
    // The settings are loaded: the burner follows the engine they choose.
    burner_ = std::make_unique<burn::BurnerFacade>(
        burn::MakeBurnEngine(services.settings.firstBurnEngine, services.programFolder, {}),
        burn::BurnerSettings{services.settings.modifyIfo});
    const burn::DiscWindowServices discServices{services.settings,
                                                services.language,
                                                project::programClips(),
                                                *burner_,
                                                burnerIndex_,
                                                std::move(discRegions),
                                                services.programFolder,
                                                folders.workFolder,
                                                optionIni,
                                                folders,
                                                [this](int drive) { DeviceWindow->openFor(drive); }};
    SetupDVDFileWindow = add(new TSetupDVDFileWindow({services.settings, services.language, project::programClips(),
                                                      services.programFolder, folders.workFolder}));
    CompilerWindow = add(new TCompilerWindow(discServices));
    ConvertWindow = add(new TConvertWindow(ConvertWindowServices{services.settings, services.language,
                                                                 project::programClips(), services.programFolder,
                                                                 folders.workFolder, optionIni, folders}));
    BurnWindow = add(new TBurnWindow(discServices));
    BuilderWindow = add(new TBuilderWindow(discServices));
    DeviceWindow = add(new TDeviceWindow(*burner_, services.language));

    common::Settings &settings = services.settings;
    SetupDVDFileWindow->setNextWindows(
        {[this, &settings](const std::string &videoTsFolder) {
             BurnWindow->setDvdFolder(videoTsFolder, settings.ntsc ? production::kNtsc : production::kPal);
             BurnWindow->exec();
         },
         [this](int aspect) {
             CompilerWindow->setMenus(nullptr);
             CompilerWindow->setAspect(aspect);
             CompilerWindow->exec();
         }});

    TSetupClipWindow::NextWindows next;
    next.menuWindow = SetupMenuWindow;
    next.builderWindow = BuilderWindow;
    next.convertWindow = ConvertWindow;
    next.optionWindow = OptionWindow;
    next.subtitleWindow = SetupSubtitleWindow;
    next.prepare = [this](QDialog *window) {
        const int aspect = SetupClipWindow->pictureShape4_3() ? production::kAspect4x3 : production::kAspect16x9;
        if (window == SetupMenuWindow)
            SetupMenuWindow->enterFromClipList(SetupClipWindow->discType(), SetupClipWindow->pictureShape4_3());
        if (window == ConvertWindow)
            ConvertWindow->setAspect(aspect);
        if (window == BuilderWindow) {
            BuilderWindow->setAspect(aspect);
            BuilderWindow->setMenus(nullptr);
        }
    };
    SetupClipWindow->setNextWindows(next);

    TSetupMenuWindow::NextWindows menuNext;
    menuNext.chapterWindow = SetupChapterWindow;
    menuNext.textWindow = SetupTextWindow;
    menuNext.imageWindow = SetupImageWindow;
    menuNext.optionWindow = OptionWindow;
    menuNext.builderWindow = BuilderWindow;
    menuNext.compilerWindow = CompilerWindow;
    menuNext.prepare = [this](QDialog *window, const TSetupMenuWindow::HandOver &handOver) {
        discMenus_.reset();
        if (handOver.menuUsed)
            discMenus_ = std::make_unique<production::DiscMenus>(
                production::MakeDiscMenus(menu::programMenuDesign(), project::programClips()));
        const int aspect = handOver.shape4_3 ? production::kAspect4x3 : production::kAspect16x9;
        if (window == BuilderWindow) {
            BuilderWindow->setAspect(aspect);
            BuilderWindow->setMenus(discMenus_.get());
        }
        if (window == CompilerWindow) {
            CompilerWindow->setAspect(aspect);
            CompilerWindow->setMenus(discMenus_.get());
        }
    };
    SetupMenuWindow->setNextWindows(menuNext);
}

ProgramWindows::~ProgramWindows()
{
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        delete *it;
    windows_.clear();
    burner_.reset();
}

} // namespace vt::shell
