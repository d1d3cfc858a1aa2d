// What a disc holds, read from its first volume descriptor (block 16):
// an ISO 9660 file system with its label and size, or nothing.
#pragma once

#include <cstdint>
#include <string>

namespace starburn {

inline constexpr uint64_t kIsoVolumeDescriptorOffset = 16 * 2048;

struct IsoVolume {
    bool present = false;  // "CD001" found
    std::string label;     // trailing blanks removed
    uint64_t bytes = 0;    // the file system's size
};

// descriptor: the 2048 bytes at block 16 (fewer when the disc is shorter).
IsoVolume ParseIsoVolume(const unsigned char *descriptor, size_t size);

// Reads block 16 of an image file; nothing for a missing or short file.
IsoVolume ReadIsoVolume(const std::string &imagePath);

} // namespace starburn
