// Fit to disc for a DVD run: one video bitrate for every clip, chosen from
// the project and the disc before anything is converted.
#pragma once

#include "app/production/disc_menus.h"
#include "app/production/production_params.h"

#include <cstdint>
#include <string>

namespace vt::project {
class ClipRecordList;
}

namespace vt::production {

// Seconds of the menu VOBs a run makes from menus (nullptr: none): the title
// menu when a clip has a button on it and one chapter menu per clip with a
// chapter page when they are enabled, each secondsPerMenu long.
int64_t MenuVobSeconds(const DiscMenus *menus, int secondsPerMenu);

struct FitOutcome {
    bool fits = true;
    std::string message;  // the line to log: the rate chosen, or why the run is refused
};

// With params.FitToDisc, sets params.VideoBitrate to the rate that fills
// params.DiscCapacityKB; refuses (fits false) a project that overfills the
// disc even at the lowest rate. Without it, changes nothing and says nothing.
FitOutcome FitBitrateToDisc(ProductionParams &params, const project::ClipRecordList &clips, const DiscMenus *menus);

} // namespace vt::production
