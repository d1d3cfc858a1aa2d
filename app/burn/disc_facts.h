// Pure facts of discs: the names of the disc type codes, the names the
// second engine gives its media types, and the erase time estimate.
#pragma once

#include <cstdint>
#include <string>

namespace vt::burn {

// "DVD+RW" for 9, "Unknown" for codes outside the table.
std::string DiscTypeName(int32_t discType);

// The second engine's media names ("DVD-R" for 3, "Unknown Media." for
// codes it does not know).
std::string EngineMediaName(int32_t mediaType);

// Seconds an erase takes at speedKbps; 0 for discs that are not erased
// this way and for a speed of 0.
uint32_t EraseEstimateSeconds(int32_t discType, bool quick, uint64_t usedBytes, uint64_t freeBytes,
                              uint32_t speedKbps);

} // namespace vt::burn
