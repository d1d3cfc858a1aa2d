// The subtitle step: each clip's SRT file muxed into its VOB with spumux
// (through the authoring library). The clip's VOB is replaced only by a
// complete muxed file.
#pragma once

#include "app/production/production_run.h"

#include <string>
#include <vector>

namespace vt::project {
class ClipRecordList;
struct ClipRecord;
} // namespace vt::project
namespace vt::common {
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

// Why a subtitle file cannot be muxed ("" when it can): missing, unreadable,
// empty or malformed, naming the file and its first bad line.
std::string SubtitleFileProblem(const std::string &path);

class SubtitleStep {
public:
    SubtitleStep(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions);

    // Before any work: every named subtitle file exists and reads as SRT.
    // False, with the file and its first bad line logged, when the run was
    // ended (outcome 4).
    bool check();

    // The whole step; false when the run was ended (outcome 4 or 5).
    bool run();

    // 0: nothing to mux (no subtitle file, or none of its cues falls within
    // the clip's kept part); −1: the file is missing or malformed (the reason
    // logged); 1: "subtitle.srt" (the kept cues, on the VOB's time line) and
    // "subtitle.xml" written and the mux paths set.
    int WriteSubtitleScript(const project::ClipRecord &clip);
    const MuxPaths &muxPaths() const { return mux_; }
    // Whether the last run muxed subtitles into the clip's VOB.
    bool muxed(int clipIndex) const;

private:
    void muxTick();

    ProductionRun &run_;
    project::ClipRecordList &clips_;
    const common::RegionList &regions_;
    MuxPaths mux_;
    std::vector<bool> muxed_;
    std::atomic<int *> percent_{nullptr};
};

} // namespace vt::production
