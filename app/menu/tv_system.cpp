#include "app/menu/tv_system.h"

#include "app/project/clip_record.h"

namespace vt::menu {

TvSystem TvSystemOfHeight(int height)
{
    return height == 480 ? TvSystem::Ntsc : TvSystem::Pal;
}

std::string TvSystemCheck::message(const std::string &ntscHeading, const std::string &palHeading) const
{
    std::string text = ntscHeading;
    for (const std::string &file : ntscFiles)
        text += file + "\n";
    text += palHeading;
    for (const std::string &file : palFiles)
        text += file + "\n";
    return text;
}

TvSystemCheck CheckTvSystems(const project::ClipRecordList &clips)
{
    TvSystemCheck check;
    for (int i = 0; i < clips.count(); ++i) {
        const project::ClipRecord &clip = clips[i];
        (TvSystemOfHeight(clip.height) == TvSystem::Ntsc ? check.ntscFiles : check.palFiles).push_back(clip.vobFile);
    }
    return check;
}

} // namespace vt::menu
