// The menu editor's own size estimate: the full length of every clip (its
// trims are not counted), against the disc type's capacity, with its
// 640-pixel bar.
#pragma once

#include "app/project/disc_estimate.h"

namespace vt::project {
class ClipRecordList;
}
namespace vt::common {
struct Settings;
}

namespace vt::menu {

inline constexpr int kMenuSizeBarWidth = 640;

project::DiscEstimate MenuDiscEstimate(const project::ClipRecordList &clips, const common::Settings &settings,
                                       project::DiscType disc);

} // namespace vt::menu
