// The drive and write-speed lists of the windows that burn: what they hold,
// which entry is chosen and whether the speed list can be used.
#pragma once

#include <string>
#include <vector>

namespace vt::burn {

class BurnerFacade;

inline constexpr int kMaxDrives = 100;

// DeviceName(0), DeviceName(1), … up to the first empty name (at most 100).
std::vector<std::string> ListDrives(BurnerFacade &facade);

struct SpeedList {
    std::vector<std::string> items;  // the labels, or the one "Unsupport" entry
    bool usable = false;             // the drive lists speeds
    int selected = -1;               // the last item
};

// The speed list of drive; unsupportedText stands alone when the drive
// lists no speeds.
SpeedList SpeedListFor(BurnerFacade &facade, int drive, bool refresh, const std::string &unsupportedText);

struct DriveChoice {
    std::vector<std::string> drives;
    int selected = -1;  // -1 only when there are no drives
    SpeedList speeds;
};

// The lists for the requested drive index. With -1 the drives are tried in
// order until one lists speeds, else the first is taken; an index out of
// range also takes the first.
DriveChoice ChooseDrive(BurnerFacade &facade, int requested, const std::string &unsupportedText);

} // namespace vt::burn
