// Compiler mode's check that the VOB files added are all of one TV system.
#pragma once

#include <string>
#include <vector>

namespace vt::project {
class ClipRecordList;
}

namespace vt::menu {

enum class TvSystem { Ntsc, Pal };

// Decided by the picture height: 480 lines are NTSC (whatever the frame
// rate, so film-rate NTSC is NTSC), everything else PAL.
TvSystem TvSystemOfHeight(int height);

struct TvSystemCheck {
    std::vector<std::string> ntscFiles;  // VOB files, in clip order
    std::vector<std::string> palFiles;

    bool passes() const { return ntscFiles.empty() || palFiles.empty(); }
    // The message shown when the check fails: ntscHeading (text 121), the
    // NTSC files, palHeading (text 122), the PAL files, one per line.
    std::string message(const std::string &ntscHeading, const std::string &palHeading) const;
};

TvSystemCheck CheckTvSystems(const project::ClipRecordList &clips);

} // namespace vt::menu
