#include "app/production/dvd_build_chain.h"

#include "app/project/clip_record.h"
#include "app/shell/ui_language.h"

namespace vt::production {

namespace {

constexpr int kNoFileText = 74;

} // namespace

DvdBuildChain::DvdBuildChain(ProductionRun &run, project::ClipInfo &clips, const shell::RegionList &regions,
                             int menuLanguageIndex, MenuFlags flags)
    : run_(run)
    , clips_(clips)
    , conversion_(run, clips, ClipConversion::VobsAreIntermediate)
    , subtitles_(run, clips, regions)
    , authoring_(run, clips, regions, menuLanguageIndex, flags)
{
}

int DvdBuildChain::run(const RunChoices &choices)
{
    if (clips_.empty()) {
        run_.view().showMessage(shell::GetUIText(kNoFileText));
        return kOutcomeNone;
    }
    if (!run_.PrepareRun(choices, ClipSourceFiles(clips_))) {
        run_.EndRun(kConversionParameterWrong);
        return run_.outcome();
    }
    if (conversion_.ConvertAll() && subtitles_.run() && authoring_.run())
        run_.EndRun(kProcessFinish);
    return run_.outcome();
}

} // namespace vt::production
