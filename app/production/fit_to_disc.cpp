#include "app/production/fit_to_disc.h"

#include "app/common/format_hms.h"
#include "app/project/clip_record.h"
#include "app/project/disc_fit.h"

#include <algorithm>

namespace vt::production {

namespace {

std::string megabytes(int64_t kilobytes)
{
    return std::to_string(kilobytes / 1024) + " MB";
}

} // namespace

int64_t MenuVobSeconds(const DiscMenus *menus, int secondsPerMenu)
{
    if (!menus)
        return 0;
    int64_t count = std::any_of(menus->titleButtons.begin(), menus->titleButtons.end(),
                                [](const auto &button) { return button.has_value(); })
        ? 1
        : 0;
    if (menus->chapterMenusEnabled)
        for (const auto &page : menus->chapterPages)
            count += page ? 1 : 0;
    return count * secondsPerMenu;
}

FitOutcome FitBitrateToDisc(ProductionParams &params, const project::ClipRecordList &clips, const DiscMenus *menus)
{
    if (!params.FitToDisc)
        return {};
    const project::DiscContents contents = project::ProjectDiscContents(
        clips, std::stoi(params.AudioBitrate), MenuVobSeconds(menus, params.MenuSeconds));
    const project::DiscFit fit = project::FitVideoToDisc(contents, params.DiscCapacityKB);
    if (!fit.fits)
        return {false, "The project does not fit the disc: " + common::FormatHMS(contents.titleSeconds) +
                           " of video needs " + megabytes(fit.plannedKB) + " at the lowest bitrate of " +
                           std::to_string(project::kFitFloorKbps) + " kbit/s, and the disc holds " +
                           megabytes(fit.capacityKB) + "."};
    params.VideoBitrate = std::to_string(fit.videoKbps);
    return {true, "Fit to disc: video at " + params.VideoBitrate + " kbit/s, about " + megabytes(fit.plannedKB) +
                      " of " + megabytes(fit.capacityKB) + "."};
}

} // namespace vt::production
