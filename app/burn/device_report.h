// What the device window shows of a drive and its disc, and how its erase
// bar and clock move while an erase runs.
#pragma once

#include <string>

namespace vt::burn {

class BurnerFacade;

inline constexpr const char *kNotAvailable = "N/A";

struct DeviceReport {
    // The disc: "N/A" each when there is no usable device.
    std::string discType, availableMB, usedMB, tracks, sessions;
    // The drive.
    std::string driveType, maxRead, maxWrite;
    bool dvdMinusR = false, dvdPlusR = false, dvdPlusRW = false, dualLayer = false;
    // Only a rewritable disc that holds data can be erased.
    bool canErase = false;
};

DeviceReport ReadDeviceReport(BurnerFacade &facade, int drive);

// The erase display after tick half-second ticks: the clock shows whole
// seconds, the bar creeps up to 99 in three minutes.
struct EraseTick {
    std::string elapsed;  // "HH:MM:SS"
    int percent = 0;
};
EraseTick EraseTickDisplay(int tick);

} // namespace vt::burn
