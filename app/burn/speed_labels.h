// The write speeds a device lists: the speed table of the disc family, and
// the labelling of the speeds a drive accepts when asked for each entry.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vt::burn {

struct WriteSpeed {
    uint32_t kbps = 0;
    std::string label;  // "4.0x"
    bool operator==(const WriteSpeed &) const = default;
};

using SpeedTable = std::vector<WriteSpeed>;

const SpeedTable &CdSpeedTable();
const SpeedTable &DvdSpeedTable();
// The table for a disc type code; nullptr for discs without one.
const SpeedTable *SpeedTableFor(int32_t discType);

// The label of an accepted speed: the closer of the two neighbouring
// entries that enclose it (the lower on a tie); nothing below the first
// entry or above the last.
std::optional<std::string> LabelForSpeed(const SpeedTable &table, uint32_t kbps);

// Asks the drive for each entry in ascending order (askSpeed returns the
// speed it accepted) and lists every new accepted speed with its label, up
// to the entry equal to the drive's maximum write speed.
std::vector<WriteSpeed> ProbeWriteSpeeds(const SpeedTable &table, uint32_t maximumWrite,
                                         const std::function<uint32_t(uint32_t)> &askSpeed);

} // namespace vt::burn
