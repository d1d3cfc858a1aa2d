// One entry of the pseudo-drive list: an image file standing in for a
// drive with an emulated disc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace starburn {

inline constexpr uint64_t kDvd5Bytes = 4700372992ull;  // 2295104 blocks
inline constexpr uint64_t kDvd9Bytes = 8543666176ull;  // 4171712 blocks

struct PseudoDriveEntry {
    std::string path;                        // the image file
    int32_t discType = 9;                    // STARBURN_DISC_ code (DVD+RW)
    uint64_t capacity = kDvd5Bytes;          // bytes
    std::vector<uint32_t> speeds{5540, 11080};  // KB/s, ascending
    uint32_t rate = 0;                       // KB/s a write delivers at most; 0 = unthrottled
    bool eraseFails = false;
    bool writeFails = false;
    bool readyFails = false;
};

// Parses "stdio:PATH,key=value,...". On failure returns false and says why.
bool ParsePseudoDriveEntry(const std::string &text, PseudoDriveEntry &entry, std::string &error);

// Parses a ';'-separated list; an entry that cannot be used is left out and
// its reason added to errors.
std::vector<PseudoDriveEntry> ParsePseudoDriveList(const std::string &text, std::vector<std::string> &errors);

// The disc type code of a media name ("DVD+R", "dvd-rw", "DVD+R DL", ...);
// -1 for a name that is not known.
int32_t DiscTypeFromName(const std::string &name);

// The disc type code of a libburn media profile number.
int32_t DiscTypeFromProfile(int profile);

// True for the codes of media that can be erased and written again.
bool IsRewritableDisc(int32_t discType);

} // namespace starburn
