#include "app/menu/menu_disc_estimate.h"

#include "app/project/clip_record.h"
#include "app/common/settings.h"

#include <algorithm>

namespace vt::menu {

project::DiscEstimate MenuDiscEstimate(const project::ClipRecordList &clips, const common::Settings &settings,
                                       project::DiscType disc)
{
    int64_t seconds = 0;
    for (int i = 0; i < clips.count(); ++i)
        seconds += clips[i].duration;
    project::DiscEstimate estimate = project::EstimateDiscSize(seconds, settings.discKBPerMinute, disc,
                                                               settings.dvd5SizeKB, settings.dvd9SizeKB);
    estimate.barWidth = 0;
    if (estimate.limitKB > 0) {
        const int64_t held = std::clamp<int64_t>(estimate.estimateKB, 0, estimate.limitKB);
        estimate.barWidth = static_cast<int>(static_cast<double>(held) * 100.0 / estimate.limitKB * 0.01 * kMenuSizeBarWidth);
    }
    return estimate;
}

} // namespace vt::menu
