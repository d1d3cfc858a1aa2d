#include "app/burn/vob_compile_chain.h"

#include "app/project/clip_adding.h"
#include "app/project/clip_record.h"

namespace vt::burn {

VobCompileChain::VobCompileChain(production::ProductionRun &run, project::ClipInfo &clips,
                                 const shell::RegionList &regions, int menuLanguageIndex)
    : run_(run)
    , clips_(clips)
    , authoring_(run, clips, regions, menuLanguageIndex)
{
}

int VobCompileChain::makeDvdFolder(const production::RunChoices &choices)
{
    if (clips_.empty())
        return production::kOutcomeNone;
    production::RunChoices firstClipChoices = choices;
    firstClipChoices.ntsc = project::IsNtscClip(clips_[0]);
    std::vector<std::string> sources;
    for (int i = 0; i < clips_.count(); ++i)
        sources.push_back(clips_[i].vobFile);
    if (!run_.PrepareRun(firstClipChoices, sources)) {
        run_.EndRun(production::kAuthorParameterWrong);
        return run_.outcome();
    }
    if (!authoring_.checkChapters() || !authoring_.run())
        return run_.outcome();
    return production::kProcessFinish;
}

} // namespace vt::burn
