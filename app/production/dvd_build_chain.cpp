#include "app/production/dvd_build_chain.h"

#include "app/common/ui_language.h"
#include "app/production/fit_to_disc.h"
#include "app/project/clip_record.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

using common::kNoFileText;

} // namespace

DvdBuildChain::DvdBuildChain(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
                             int menuLanguageIndex, const DiscMenus *menus, int menuDuration)
    : run_(run)
    , clips_(clips)
    , conversion_(run, clips, ClipConversion::VobsAreIntermediate)
    , subtitles_(run, clips, regions)
    , designedMenus_(menus)
    , menus_(run, menus, clips.count(), menuDuration)
    , authoring_(run, clips, regions, menuLanguageIndex, &menus_.plan())
{
}

void DvdBuildChain::stop()
{
    if (menus_.converterLoaded())
        menus_.Stop();
    else
        conversion_.Stop();
}

int DvdBuildChain::run(const RunChoices &choices)
{
    if (clips_.empty()) {
        run_.view().showMessage(run_.text(kNoFileText));
        return kOutcomeNone;
    }
    if (!run_.PrepareRun(choices, ClipSourceFiles(clips_))) {
        run_.EndRun(kConversionParameterWrong);
        return run_.outcome();
    }
    if (!subtitles_.check() || !authoring_.checkChapters())
        return run_.outcome();
    const FitOutcome fit = FitBitrateToDisc(run_.params(), clips_, designedMenus_);
    if (!fit.message.empty())
        run_.LogLine(fit.message);
    if (!fit.fits) {
        run_.EndRun(kConversionParameterWrong);
        return run_.outcome();
    }
    if (conversion_.ConvertAll() && subtitles_.run() && menus_.runTitleMenu() && menus_.runChapterMenus() &&
        authoring_.run()) {
        if (deleteConvertedVobs_)
            deleteConvertedVobs();
        if (leaveRunOpen_)
            return kProcessFinish;
        run_.EndRun(kProcessFinish);
    }
    return run_.outcome();
}

void DvdBuildChain::deleteConvertedVobs()
{
    for (int i = 0; i < clips_.count(); ++i) {
        std::error_code error;
        if (!clips_[i].vobFile.empty() && !fs::remove(clips_[i].vobFile, error) && error)
            run_.LogLine("Can not delete " + clips_[i].vobFile + ": " + error.message());
    }
}

} // namespace vt::production
