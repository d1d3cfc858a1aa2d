#include "app/production/conversion_jobs.h"

#include <algorithm>
#include <fstream>
#include <numeric>
#include <string>
#include <thread>

namespace vt::production {

int AutomaticConversionJobs(unsigned cores, uint64_t availableBytes)
{
    const uint64_t byMemory = availableBytes / kConversionMemoryBytes;
    const uint64_t jobs = std::min<uint64_t>(cores / kCoresPerConversion, byMemory);
    return static_cast<int>(std::max<uint64_t>(jobs, 1));
}

namespace {

// "MemAvailable" of /proc/meminfo: free memory plus what the kernel can give
// back from its caches. One conversion's worth when it cannot be read.
uint64_t availableMemoryBytes()
{
    std::ifstream meminfo("/proc/meminfo");
    const std::string key = "MemAvailable:";
    for (std::string line; std::getline(meminfo, line);)
        if (line.compare(0, key.size(), key) == 0)
            return std::stoull(line.substr(key.size())) * 1024;
    return kConversionMemoryBytes;
}

} // namespace

unsigned MachineCores()
{
    return std::thread::hardware_concurrency();
}

int MachineConversionJobs()
{
    return AutomaticConversionJobs(MachineCores(), availableMemoryBytes());
}

int ThreadsPerConversion(unsigned cores, int jobs)
{
    return std::max(1, static_cast<int>(cores) / std::max(jobs, 1));
}

int ThreadsForClip(unsigned cores, int jobs, int place, int clipCount)
{
    const bool endsAlone = place >= jobs && place + 1 == clipCount;
    return ThreadsPerConversion(cores, endsAlone ? 1 : jobs);
}

std::vector<int> LongestFirst(const std::vector<int> &seconds)
{
    std::vector<int> order(seconds.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return seconds[a] > seconds[b]; });
    return order;
}

} // namespace vt::production
