// The subtitle step: each clip's SRT file muxed into its VOB with spumux
// (through the authoring library). The clip's VOB is replaced only by a
// complete muxed file.
#pragma once

#include "app/production/production_run.h"

#include <string>

namespace vt::project {
class ClipInfo;
struct TClipInfo;
} // namespace vt::project
namespace vt::shell {
class RegionList;
}

namespace vt::production {

// The three paths of one spumux run.
struct MuxPaths {
    std::string input;    // the VOB that receives the subpictures
    std::string output;   // where spumux writes, renamed over input on success
    std::string control;  // the spumux control file
};

// A worker routine: 2 when the authoring library or an entry point is
// missing, 1 when muxed (input now holds the muxed VOB), 0 on failure (input
// untouched). percent, when given, receives the library's progress counter.
int RunSpumux(const std::string &programFolder, const MuxPaths &paths, std::atomic<int *> *percent = nullptr);

class SubtitleStep {
public:
    SubtitleStep(ProductionRun &run, project::ClipInfo &clips, const shell::RegionList &regions);

    // The whole step; false when the run was ended (outcome 4 or 5).
    bool run();

    // 0: the clip has no subtitle file; −1: its file does not exist; 1:
    // "subtitle.xml" written and the mux paths set.
    int WriteSubtitleScript(const project::TClipInfo &clip);
    const MuxPaths &muxPaths() const { return mux_; }

private:
    void muxTick();

    ProductionRun &run_;
    project::ClipInfo &clips_;
    const shell::RegionList &regions_;
    MuxPaths mux_;
    std::atomic<int *> percent_{nullptr};
};

} // namespace vt::production
