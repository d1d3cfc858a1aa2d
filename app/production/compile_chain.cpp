#include "app/production/compile_chain.h"

#include "app/common/ui_language.h"
#include "app/common/ui_text_ids.h"
#include "app/project/clip_adding.h"
#include "app/project/clip_record.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

CompileChain::CompileChain(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
                           int menuLanguageIndex, const DiscMenus *menus, int menuDuration)
    : run_(run)
    , clips_(clips)
    , menus_(run, menus, clips.count(), menuDuration)
    , authoring_(run, clips, regions, menuLanguageIndex, &menus_.plan())
{
}

int CompileChain::run(RunChoices choices)
{
    if (clips_.empty()) {
        run_.view().showMessage(run_.text(common::kNoFileText));
        return kOutcomeNone;
    }
    choices.ntsc = project::IsNtscClip(clips_[0]);
    std::vector<std::string> vobs;
    for (int i = 0; i < clips_.count(); ++i)
        vobs.push_back(clips_[i].vobFile);
    if (!run_.PrepareRun(choices, vobs)) {
        run_.EndRun(kAuthorParameterWrong);
        return run_.outcome();
    }
    for (const std::string &vob : vobs) {
        std::error_code error;
        if (!fs::is_regular_file(vob, error)) {
            run_.LogLine("VOB file " + vob + " does not exist.");
            run_.EndRun(kAuthorParameterWrong);
            return run_.outcome();
        }
    }
    if (authoring_.checkChapters() && menus_.runTitleMenu() && menus_.runChapterMenus() && authoring_.run()) {
        if (leaveRunOpen_)
            return kProcessFinish;
        run_.EndRun(kProcessFinish);
    }
    return run_.outcome();
}

} // namespace vt::production
