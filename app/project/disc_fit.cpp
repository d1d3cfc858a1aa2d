#include "app/project/disc_fit.h"

#include "app/project/clip_record.h"

#include <algorithm>

namespace vt::project {

namespace {

// A DVD program stream spends about 2 % on pack and packet headers and
// navigation packs; the rest of the margin covers the rate control's spread
// around its target, so that the fill stays below the capacity.
constexpr double kStreamOverhead = 1.02;
constexpr double kUsableShare = 0.96;

int64_t bitsOf(int64_t kbps, int64_t seconds)
{
    return kbps * 1000 * seconds;
}

} // namespace

int64_t StreamKB(int64_t kbps, int64_t seconds)
{
    return static_cast<int64_t>(static_cast<double>(bitsOf(kbps, seconds)) * kStreamOverhead / 8 / 1024);
}

DiscContents ProjectDiscContents(const ClipRecordList &clips, int audioKbps, int64_t menuSeconds)
{
    DiscContents contents;
    contents.audioKbps = audioKbps;
    contents.menuSeconds = menuSeconds;
    for (int i = 0; i < clips.count(); ++i) {
        const int64_t seconds = std::max(clips[i].effectiveDuration(), 0);
        contents.titleSeconds += seconds;
        if (!clips[i].subtitleFile.empty())
            contents.subtitledSeconds += seconds;
    }
    return contents;
}

DiscFit FitVideoToDisc(const DiscContents &contents, int64_t capacityKB)
{
    DiscFit fit;
    fit.capacityKB = capacityKB;
    const int64_t otherKB = StreamKB(kMenuVideoKbps + contents.audioKbps, contents.menuSeconds) +
                            StreamKB(kSubtitleKbps, contents.subtitledSeconds);
    auto plannedAt = [&](int videoKbps) {
        return StreamKB(videoKbps + contents.audioKbps, contents.titleSeconds) + otherKB;
    };
    if (contents.titleSeconds <= 0) {
        fit.videoKbps = kFitCeilingKbps;
        fit.plannedKB = otherKB;
        fit.fits = otherKB <= capacityKB;
        return fit;
    }
    const double usableBits = static_cast<double>(capacityKB) * 1024 * 8 * kUsableShare / kStreamOverhead -
                              static_cast<double>(otherKB) * 1024 * 8 / kStreamOverhead;
    const double titleKbps = usableBits / 1000 / static_cast<double>(contents.titleSeconds);
    const double videoKbps = titleKbps - contents.audioKbps;
    fit.fits = videoKbps >= kFitFloorKbps;
    fit.videoKbps = static_cast<int>(std::clamp(videoKbps, double{kFitFloorKbps}, double{kFitCeilingKbps}));
    fit.plannedKB = plannedAt(fit.videoKbps);
    return fit;
}

} // namespace vt::project
