// How many clips are converted at the same time when the user leaves the
// choice to the program: one per core, as far as the memory carries them.
#pragma once

#include <cstdint>

namespace vt::production {

// What one conversion needs at most (decoder, filters, encoder and queues
// of a DVD-sized picture).
inline constexpr uint64_t kConversionMemoryBytes = 400ull << 20;

// At least 1; cores (0 when unknown counts as 1) bounded by availableBytes.
int AutomaticConversionJobs(unsigned cores, uint64_t availableBytes);
// AutomaticConversionJobs for this machine, now.
int MachineConversionJobs();

} // namespace vt::production
