// Fit to disc: the one video bitrate at which every title, with its sound,
// the menus and the subtitles, fills the disc without overfilling it.
#pragma once

#include <cstdint>

namespace vt::project {

// The highest average the fit chooses: the rate control keeps 1 Mbit/s of
// room under the DVD's 9000 kbit/s video peak for hard scenes.
inline constexpr int kFitCeilingKbps = 8000;
// The lowest: below it a full-size MPEG-2 picture breaks into blocks on any
// motion, so a project that needs less is refused instead.
inline constexpr int kFitFloorKbps = 1500;
// Menu VOBs are still pictures coded at this video rate, with AC-3 sound.
inline constexpr int kMenuVideoKbps = 5000;
// Every title's AC-3 sound.
inline constexpr int kDiscAudioKbps = 192;
// A subtitle (subpicture) stream rarely needs more than this on average.
inline constexpr int kSubtitleKbps = 10;

// What goes on the disc besides the titles' pictures.
struct DiscContents {
    int64_t titleSeconds = 0;      // seconds of every title together
    int audioKbps = kDiscAudioKbps;
    int64_t menuSeconds = 0;       // seconds of every menu VOB together
    int64_t subtitledSeconds = 0;  // seconds of the titles that carry subtitles
};

struct DiscFit {
    bool fits = false;      // false: even the floor rate overfills the disc
    int videoKbps = 0;      // the rate every title is converted at (the floor when it does not fit)
    int64_t plannedKB = 0;  // what the disc holds at that rate, stream overhead included
    int64_t capacityKB = 0;
};

// The video rate that fills capacityKB (KB of 1024 bytes), clamped to
// [kFitFloorKbps, kFitCeilingKbps]. A project without titles fits at the
// ceiling.
DiscFit FitVideoToDisc(const DiscContents &contents, int64_t capacityKB);

class ClipRecordList;

// The titles of the project: every clip's seconds, and those of the clips
// with a subtitle file; menuSeconds as given.
DiscContents ProjectDiscContents(const ClipRecordList &clips, int audioKbps, int64_t menuSeconds);

// KB of the program stream that carries kbps for seconds: the payload plus
// the DVD packs' headers and navigation packs.
int64_t StreamKB(int64_t kbps, int64_t seconds);

} // namespace vt::project
