#include "app/burn/vob_compile_chain.h"

namespace vt::burn {

VobCompileChain::VobCompileChain(production::ProductionRun &run, project::ClipRecordList &clips,
                                 const common::RegionList &regions, int menuLanguageIndex,
                                 const production::DiscMenus *menus, int menuDuration)
    : chain_(run, clips, regions, menuLanguageIndex, menus, menuDuration)
{
    chain_.setLeaveRunOpen(true);
}

int VobCompileChain::makeDvdFolder(const production::RunChoices &choices)
{
    return chain_.run(choices);
}

std::string VobCompileChain::videoTsFolder() const
{
    const std::string &folder = chain_.dvdFolder();
    if (folder.empty())
        return "";
    return folder + (folder.back() == '/' ? "" : "/") + "VIDEO_TS";
}

} // namespace vt::burn
