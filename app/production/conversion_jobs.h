// How many clips are converted at the same time when the user leaves the
// choice to the program: one per core, as far as the memory carries them,
// and how many threads each of them may start.
#pragma once

#include <cstdint>
#include <vector>

namespace vt::production {

// What one conversion needs at most (decoder, filters, encoder and queues
// of a DVD-sized picture).
inline constexpr uint64_t kConversionMemoryBytes = 400ull << 20;

// One conversion with one thread per codec and filter still keeps about one
// and a half cores busy (it decodes and encodes on threads of its own), and
// costs about 15% less CPU time than with two threads per codec. Measured on
// two cores: two such conversions side by side keep 1.8-1.9 cores busy and
// convert a 6-clip project in 0.8 of the time the clips take one after
// another with both cores each.
inline constexpr unsigned kCoresPerConversion = 1;

// At least 1; one per kCoresPerConversion cores, bounded by availableBytes.
int AutomaticConversionJobs(unsigned cores, uint64_t availableBytes);
// AutomaticConversionJobs for this machine, now.
int MachineConversionJobs();
// The threads each of jobs conversions side by side may start per codec or
// filter: its share of the cores, at least one, so that together they ask for
// no more threads than there are cores. A conversion already runs decoding
// and encoding on two threads of its own, which keeps its core share busy;
// more threads per codec than cores only add switching (measured on two
// cores: two conversions side by side with one thread each take about 15%
// less CPU time than with two each). The MPEG-2 encoder codes one band of
// slices per thread, so a VOB's bytes follow this count: the same clip
// converted with another count is equally valid but not byte-identical.
int ThreadsPerConversion(unsigned cores, int jobs);
// The threads of the clip started at place (0-based) of clipCount when jobs
// convert side by side: ThreadsPerConversion, except that the last clip,
// started once another was done, gets every core: it ends converting alone,
// and a conversion's threads are fixed when it starts.
int ThreadsForClip(unsigned cores, int jobs, int place, int clipCount);
unsigned MachineCores();

// The order in which clips of the given lengths are started when converted
// side by side: the longest first (equal ones in list order), so that the
// short clips fill the gaps at the end instead of one long clip converting
// alone on the last of the cores.
std::vector<int> LongestFirst(const std::vector<int> &seconds);

} // namespace vt::production
