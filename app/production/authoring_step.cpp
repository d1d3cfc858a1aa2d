#include "app/production/authoring_step.h"

#include "app/production/volume_label.h"
#include "app/production/xml_text.h"
#include "app/project/clip_record.h"
#include "app/common/file_sizes.h"
#include "app/common/program_files.h"
#include "app/common/region_list.h"
#include "app/common/ui_language.h"
#include "engines/authoring/dvdauthor_library.h"
#include "platform/module_loader.h"
#include "platform/paths.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

using common::kStartAuthorFileText;
using common::kStartAuthorFolderText;
using common::kFixVobText;
constexpr int kFixNotePercent = 96;

bool isFile(const std::string &path)
{
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

// The root-menu background VOB for the standard and aspect, or "".
std::string rootMenuVob(const ProductionParams &params)
{
    const char *name = params.pal() ? (params.Aspect == kAspect16x9 ? "MainSubPW.vob" : "MainSubP.vob")
                                    : (params.Aspect == kAspect16x9 ? "MainSubNW.vob" : "MainSubN.vob");
    return resolveCaseInsensitive(ExePath() + "RES/" + name);
}

} // namespace

int AuthoringPercent(int writtenMB, int64_t totalMB)
{
    return static_cast<int>(int64_t{writtenMB} * 100 / (totalMB > 0 ? totalMB : 1));
}

bool IsDvdFolder(const std::string &folder)
{
    return !resolveCaseInsensitive(withTrailingSlash(folder) + "VIDEO_TS/VIDEO_TS.IFO").empty();
}

AuthoringStep::AuthoringStep(ProductionRun &run, const project::ClipRecordList &clips, const common::RegionList &regions,
                             int menuLanguageIndex, MenuFlags flags)
    : run_(run)
    , clips_(clips)
    , regions_(regions)
    , menuLanguageIndex_(menuLanguageIndex)
    , flags_(flags)
{
    run_.authorTimer.setTick([this] { authorTick(); });
}

AuthorScriptInput AuthoringStep::scriptInput() const
{
    const ProductionParams &params = run_.params();
    const std::string work = run_.folders().workFolder;
    AuthorScriptInput in;
    in.dest = dvdFolder_;
    in.pal = params.pal();
    in.wide = params.Aspect == kAspect16x9;
    in.menuLanguageCode = regions_.GetRegionLanguageCode(menuLanguageIndex_);
    in.workFolder = work;
    in.titleMenuMade = flags_.titleMenuWanted && isFile(work + "Title.vob");
    in.rootMenuVob = flags_.titleMenuWanted ? rootMenuVob(params) : "";
    in.backButtonsPossible = flags_.backButtonsPossible;
    in.chapterMenusEnabled = flags_.chapterMenusEnabled;
    for (int i = 0; i < clips_.count(); ++i) {
        const project::ClipRecord &clip = clips_[i];
        AuthorScriptClip c;
        c.vobFile = clip.vobFile;
        c.subtitleExists = isFile(clip.subtitleFile);
        c.subtitleLanguageCode = regions_.GetRegionLanguageCode(clip.subtitleLanguageIndex);
        c.hasTitleButton = clip.hasTitleButton;
        c.hasChapterPage = clip.chapters != nullptr;
        if (clip.chapters) {
            c.chapterTimes = clip.chapters->times();
            c.chapterMenuHasMusic = isFile(clip.chapters->musicFile);
        }
        c.start = clip.start;
        c.length = clip.end - clip.start;
        c.chapterMenuVobExists = isFile(work + "Chapter_" + std::to_string(i) + ".vob");
        in.clips.push_back(std::move(c));
    }
    return in;
}

bool AuthoringStep::checkChapters()
{
    const AuthorScriptInput in = scriptInput();
    for (size_t i = 0; i < in.clips.size(); ++i) {
        const AuthorScriptClip &clip = in.clips[i];
        const size_t chapters = clip.hasChapterPage ? 1 + ChapterOffsets(clip).size() : 1;
        if (chapters > kMaxChaptersPerTitle) {
            run_.LogLine(fs::path(clips_[static_cast<int>(i)].fileName).filename().string() + " has " +
                         std::to_string(chapters) + " chapters; a DVD title holds at most " +
                         std::to_string(kMaxChaptersPerTitle) + ".");
            run_.EndRun(kChapterParameterWrong);
            return false;
        }
    }
    return true;
}

bool AuthoringStep::WriteAuthorScript()
{
    dvdFolder_ = DvdFolderPath(run_.folders().outputFolder, run_.params().VolumeLabel);
    // The name is free: whatever dvdauthor leaves there is this run's.
    run_.noteMadeFile(dvdFolder_);
    videoTsPath_ = dvdFolder_ + "/VIDEO_TS/";
    authorXml_ = run_.folders().workFolder + "author.xml";
    totalVobMB_ = 0;
    for (int i = 0; i < clips_.count(); ++i)
        totalVobMB_ += common::FileSize(clips_[i].vobFile) / 1048576;
    const AuthorScript script = MakeAuthorScript(scriptInput());
    return WriteTextFile(authorXml_, JoinCrLf(script.lines));
}

int AuthoringStep::RunAuthor()
{
    Module library;
    decltype(&setreg) setRegistration = nullptr;
    decltype(&getVOBsMB) vobsMB = nullptr;
    decltype(&author_main) authorMain = nullptr;
    if (!library.open(withTrailingSlash(run_.folders().programFolder) + common::kAuthoringLibrary) ||
        !library.bind("setreg", setRegistration) || !library.bind("getVOBsMB", vobsMB) ||
        !library.bind("author_main", authorMain))
        return 2;
    setRegistration(DVDAUTHOR_LIBRARY_INIT);
    vobsMB_ = vobsMB();
    const int result = authorMain(authorXml_.c_str());
    vobsMB_ = nullptr;
    return result == 0 && IsDvdFolder(dvdFolder_) ? 1 : 0;
}

void AuthoringStep::authorTick()
{
    int *written = vobsMB_;
    if (!written || !run_.threadIsWorking())
        return;
    const int percent = AuthoringPercent(*written, totalVobMB_);
    if (percent >= kFixNotePercent && run_.takeFixNote())
        run_.LogLine(common::GetUIText(kFixVobText));
    run_.ShowProgress(1, percent);
}

bool AuthoringStep::run()
{
    run_.LogLine(common::GetUIText(kStartAuthorFileText));
    if (!WriteAuthorScript()) {
        run_.EndRun(kAuthorParameterWrong);
        return false;
    }
    run_.LogLine(common::GetUIText(kStartAuthorFolderText));
    run_.authorTimer.enable();
    const int result = run_.RunOnWorker([this] { return RunAuthor(); });
    run_.authorTimer.disable();
    if (result != 1) {
        run_.EndRun(result == 2 ? kAuthorCannotStart : kAuthorProcessWrong);
        return false;
    }
    run_.forgetMadeFile(dvdFolder_);
    run_.ShowProgress(1, 100);
    return true;
}

} // namespace vt::production
