#include "app/production/menu_steps.h"

#include "app/common/program_files.h"
#include "app/common/ui_language.h"
#include "app/common/ui_text_ids.h"
#include "engines/converter/corvane.h"
#include "platform/module_loader.h"
#include "platform/paths.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

// The menu steps' log lines (UI text numbers).
constexpr int kStartTitleSourceText = 80;
constexpr int kStartTitleDestinationText = 81;
constexpr int kStartChapterSourceText = 82;
constexpr int kStartChapterDestinationText = 83;
constexpr int kStartMenuMusicText = 152;
constexpr const char *kNoMusic = "NoFile";
constexpr const char *kSilentMenuSeconds = "2";

bool isFile(const std::string &path)
{
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

std::string fileNameOf(const std::string &path)
{
    return fs::path(path).filename().string();
}

} // namespace

std::string RootMenuVobPath(const std::string &programFolder, const ProductionParams &params)
{
    const bool wide = params.Aspect == kAspect16x9;
    const char *name = params.pal() ? (wide ? "MainSubPW.vob" : "MainSubP.vob")
                                    : (wide ? "MainSubNW.vob" : "MainSubN.vob");
    return resolveCaseInsensitive(withTrailingSlash(programFolder) + common::kResFolder + name);
}

MenuSteps::MenuSteps(ProductionRun &run, const DiscMenus *design, int clipCount, int menuDuration)
    : run_(run)
    , design_(design)
    , clipCount_(clipCount)
    , menuDuration_(menuDuration)
{
}

void MenuSteps::decidePlan()
{
    if (!design_) {
        plan_ = MenuPlan();
        return;
    }
    const std::string programFolder = run_.folders().programFolder;
    resources_ = LoadMenuResources(withTrailingSlash(programFolder) + common::kResFolder);
    plan_ = MenuPlan(*design_, clipCount_, resources_, RootMenuVobPath(programFolder, run_.params()));
}

int MenuSteps::makeMenuFiles(const MenuPage &page, bool withBackButton, const MenuFiles &files)
{
    RemoveMenuFiles(files);
    const ProductionParams &params = run_.params();
    const DesignMapping mapping(params.FrameHeight, params.DesignHeight);
    const ComposedMenu menu = ComposeMenu(page, mapping, resources_, withBackButton && plan_.backButtonsPossible());
    if (const std::string failed = WriteMenuFiles(menu, files); !failed.empty()) {
        run_.LogLine("Can not write " + failed);
        return 0;
    }
    mux_ = {files.vob, files.muxOutput, files.control};
    run_.LogLine(fileNameOf(files.background) + " >>>> " + fileNameOf(files.vob));
    return 1;
}

int MenuSteps::MakeTitleMenuFiles()
{
    if (!plan_.titleMenuWanted())
        return 2;
    return makeMenuFiles(plan_.titlePage(), plan_.rootMenuPossible(), TitleMenuFiles(run_.folders().workFolder));
}

int MenuSteps::MakeChapterMenuFiles(int clip)
{
    if (!plan_.hasChapterMenu(clip))
        return 2;
    return makeMenuFiles(plan_.chapterPage(clip), true, ChapterMenuFiles(run_.folders().workFolder, clip));
}

int MenuSteps::MakeMenuVob(const MenuFiles &files, const std::string &musicFile, bool withMusic)
{
    const ProductionParams &p = run_.params();
    Module library;
    decltype(&X_Get_Info) getInfo = nullptr;
    decltype(&X_StopConvert) stopConvert = nullptr;
    decltype(&X_MpegEnc) mpegEnc = nullptr;
    decltype(&X_SetPar_BMP2VOB) bmpToVob = nullptr;
    if (!library.open(withTrailingSlash(run_.folders().programFolder) + common::kConverterLibrary) ||
        !library.bind("X_Get_Info", getInfo) || !library.bind("X_StopConvert", stopConvert) ||
        !library.bind("X_MpegEnc", mpegEnc) || !library.bind("X_SetPar_BMP2VOB", bmpToVob)) {
        run_.LogLine("Converter library: " + library.error());
        return 2;
    }
    const std::string duration = withMusic ? std::to_string(menuDuration_) : kSilentMenuSeconds;
    if (withMusic)
        run_.LogLine(common::GetUIText(kStartMenuMusicText));
    stopConvert_ = stopConvert;
    const int result = bmpToVob(run_.messageTarget(), p.VideoStandard, files.background.c_str(), duration.c_str(),
                                p.FrameSize.c_str(), p.FrameSize.c_str(), p.AspectFraction.c_str(),
                                files.vob.c_str(), withMusic ? 1 : 0, withMusic ? musicFile.c_str() : kNoMusic);
    stopConvert_ = nullptr;
    return result;
}

void MenuSteps::Stop()
{
    if (!stopConvert_) {
        run_.view().showMessage(common::GetUIText(common::kCannotStopText));
        return;
    }
    if (!run_.view().askYesNo(common::GetUIText(common::kStopQuestionText)))
        return;
    run_.setUserAbort();
    if (stopConvert_)
        stopConvert_();
}

void MenuSteps::muxTick()
{
    int *percent = percent_;
    if (percent && run_.threadIsWorking())
        run_.ShowProgress(1, *percent);
}

int MenuSteps::makeMenu(const MenuFiles &files, const std::string &musicFile, bool withMusic, int sourceText,
                        int destinationText, int conversionWrong, int muxWrong)
{
    run_.LogLine(common::GetUIText(sourceText));
    const int encoded = MakeMenuVob(files, musicFile, withMusic);
    if (run_.userAbort()) {
        RemoveMenuFiles(files);
        return kUserAbort;
    }
    if (encoded != 0 || !isFile(files.vob)) {
        run_.LogLine("The converter library could not make " + fileNameOf(files.vob) + " from " +
                     fileNameOf(files.background) + ".");
        return conversionWrong;
    }
    run_.LogLine(common::GetUIText(destinationText));
    run_.muxTimer.setTick([this] { muxTick(); });
    run_.muxTimer.enable();
    const std::string programFolder = run_.folders().programFolder;
    const int muxed = run_.RunOnWorker([&] { return RunSpumux(programFolder, mux_, &percent_); });
    run_.muxTimer.disable();
    if (muxed == 0) {
        run_.LogLine("spumux could not mux the buttons of " + fileNameOf(files.control) + " into " +
                     fileNameOf(files.vob) + ".");
        return muxWrong;
    }
    if (muxed == 2)
        run_.LogLine("The authoring library " + std::string(common::kAuthoringLibrary) +
                     " is missing or incomplete; " + fileNameOf(files.vob) + " has no buttons.");
    return muxed == 1 ? kProcessFinish : kOutcomeNone;
}

bool MenuSteps::runTitleMenu()
{
    decidePlan();
    const int files = MakeTitleMenuFiles();
    if (files == 0) {
        run_.EndRun(kTitleMenuParameterWrong);
        return false;
    }
    if (files == 1) {
        const int made = makeMenu(TitleMenuFiles(run_.folders().workFolder), design_->titlePage.musicFile,
                                  plan_.titleMenuHasMusic(), kStartTitleSourceText, kStartTitleDestinationText,
                                  kTitleMenuConversionWrong, kTitleMenuMuxWrong);
        if (made == kProcessFinish)
            plan_.setTitleMenuMade();
        else if (made != kOutcomeNone) {
            run_.EndRun(made);
            return false;
        }
    }
    run_.ShowProgress(1, 100);
    return true;
}

bool MenuSteps::runChapterMenus()
{
    for (int clip : plan_.chapterMenuClips()) {
        if (MakeChapterMenuFiles(clip) != 1) {
            run_.EndRun(kChapterParameterWrong);
            return false;
        }
        const int made = makeMenu(ChapterMenuFiles(run_.folders().workFolder, clip),
                                  plan_.chapterPage(clip).musicFile, plan_.chapterMenuHasMusic(clip),
                                  kStartChapterSourceText, kStartChapterDestinationText, kChapterMenuConversionWrong,
                                  kChapterMenuMuxWrong);
        if (made == kProcessFinish)
            plan_.setChapterMenuMade(clip);
        else if (made != kOutcomeNone) {
            run_.EndRun(made);
            return false;
        }
    }
    run_.ShowProgress(1, 100);
    return true;
}

} // namespace vt::production
