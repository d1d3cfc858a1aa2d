#include "app/production/conversion_jobs.h"

#include <gtest/gtest.h>

namespace vt::production {
namespace {

TEST(ConversionJobsTest, OnePerCoreAsFarAsMemoryCarries)
{
    constexpr uint64_t GB = 1ull << 30;
    struct Case {
        unsigned cores;
        uint64_t memory;
        int jobs;
    } const cases[] = {
        {1, 8 * GB, 1},
        {2, 8 * GB, 2},
        {4, 8 * GB, 4},
        {16, 8 * GB, 16},
        {16, 1 * GB, 2},   // memory bounds it
        {8, 100 << 20, 1}, // too little memory still converts, one at a time
        {0, 8 * GB, 1},    // core count unknown
    };
    for (const Case &c : cases)
        EXPECT_EQ(AutomaticConversionJobs(c.cores, c.memory), c.jobs) << c.cores << " cores, " << c.memory;
    EXPECT_GE(MachineConversionJobs(), 1);
}

TEST(ConversionJobsTest, ThreadsShareTheCores)
{
    const struct {
        unsigned cores;
        int jobs, threads;
    } cases[] = {{2, 2, 1}, {2, 1, 2}, {16, 4, 4}, {16, 16, 1}, {6, 4, 1}, {0, 1, 1}};
    for (const auto &c : cases)
        EXPECT_EQ(ThreadsPerConversion(c.cores, c.jobs), c.threads) << c.cores << " cores, " << c.jobs << " jobs";
}

TEST(ConversionJobsTest, TheLastClipStartedLateGetsEveryCore)
{
    const struct {
        unsigned cores;
        int jobs, place, clipCount, threads;
    } cases[] = {
        {2, 2, 0, 3, 1},
        {2, 2, 1, 3, 1},
        {2, 2, 2, 3, 2},    // starts when the first is done, ends alone
        {2, 2, 1, 2, 1},    // the last, but started with the other
        {16, 4, 9, 10, 16},
        {16, 4, 8, 10, 4},
        {16, 16, 15, 16, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ThreadsForClip(c.cores, c.jobs, c.place, c.clipCount), c.threads)
            << c.cores << " cores, " << c.jobs << " jobs, clip " << c.place << " of " << c.clipCount;
}

TEST(ConversionJobsTest, LongestClipsStartFirst)
{
    const struct {
        std::vector<int> seconds, order;
    } cases[] = {
        {{24, 20, 30}, {2, 0, 1}},
        {{10, 40, 10, 40}, {1, 3, 0, 2}},  // equal lengths keep the list order
        {{5}, {0}},
        {{}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LongestFirst(c.seconds), c.order) << testing::PrintToString(c.seconds);
}

} // namespace
} // namespace vt::production
