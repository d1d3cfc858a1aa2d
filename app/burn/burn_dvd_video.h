// Writing an authored VIDEO_TS folder to the disc of a device as a
// DVD-Video disc, step by step, with the status lines of each step in the
// device's log hook.
#pragma once

#include "app/burn/c_device.h"

#include <string>

namespace vt::burn {

struct DvdVideoBurnOptions {
    std::string videoTsFolder;
    bool modifyIfo = false;
    std::string volumeLabel = "DVD_DISC";
    WriteSpeed speed;          // 0 KB/s: the drive's maximum
    bool testWrite = false;    // the session is closed after a real write
};

inline constexpr const char *kDvdPublisher = "Quellbrook";
inline constexpr const char *kDvdApplication = "Zanthera";

// True when the disc was written and its session closed.
bool BurnDVDVideo(CDevice &device, const DvdVideoBurnOptions &options);

} // namespace vt::burn
