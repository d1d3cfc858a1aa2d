// How many clips are converted at the same time when the user leaves the
// choice to the program: one per two cores, as far as the memory carries them.
#pragma once

#include <cstdint>

namespace vt::production {

// What one conversion needs at most (decoder, filters, encoder and queues
// of a DVD-sized picture).
inline constexpr uint64_t kConversionMemoryBytes = 400ull << 20;

// One conversion keeps about one and a half cores busy by itself (decoder,
// filters and encoder threads), so a second one only pays where it finds
// cores of its own: on two cores two side by side were measured slower than
// one after the other.
inline constexpr unsigned kCoresPerConversion = 2;

// At least 1; one per kCoresPerConversion cores, bounded by availableBytes.
int AutomaticConversionJobs(unsigned cores, uint64_t availableBytes);
// AutomaticConversionJobs for this machine, now.
int MachineConversionJobs();
// The cores each of jobs conversions side by side may count on: its share,
// and at least two (a conversion waits on its decoder as much as on its
// encoder).
int ThreadsPerConversion(unsigned cores, int jobs);
unsigned MachineCores();

} // namespace vt::production
