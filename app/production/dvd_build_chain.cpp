#include "app/production/dvd_build_chain.h"

#include "app/project/clip_record.h"
#include "app/common/ui_language.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

using common::kNoFileText;

} // namespace

DvdBuildChain::DvdBuildChain(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
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
        run_.view().showMessage(common::GetUIText(kNoFileText));
        return kOutcomeNone;
    }
    if (!run_.PrepareRun(choices, ClipSourceFiles(clips_))) {
        run_.EndRun(kConversionParameterWrong);
        return run_.outcome();
    }
    if (!subtitles_.check() || !authoring_.checkChapters())
        return run_.outcome();
    if (conversion_.ConvertAll() && subtitles_.run() && authoring_.run()) {
        if (deleteConvertedVobs_)
            deleteConvertedVobs();
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
