// How many clips are converted at the same time when the user leaves the
// choice to the program: one per two cores, as far as the memory carries them.
#pragma once

#include <cstdint>
#include <vector>

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
// The threads each of jobs conversions side by side may start per codec or
// filter: its share of the cores, at least one, so that together they ask for
// no more threads than there are cores. A conversion already runs decoding
// and encoding on two threads of its own, which keeps its core share busy;
// more threads per codec than cores only add switching (measured on two
// cores: two conversions side by side with one thread each take about 10%
// less CPU time than with two each).
int ThreadsPerConversion(unsigned cores, int jobs);
unsigned MachineCores();

// The order in which clips of the given lengths are started when converted
// side by side: the longest first (equal ones in list order), so that the
// short clips fill the gaps at the end instead of one long clip converting
// alone on the last of the cores.
std::vector<int> LongestFirst(const std::vector<int> &seconds);

} // namespace vt::production
