#include "app/project/disc_estimate.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

constexpr int64_t kPerMinute = 30720, kDvd5 = 4403200, kDvd9 = 8704000;

TEST(DiscEstimate, SizeAndBarAgainstTheDisc)
{
    struct Case {
        int64_t seconds;
        DiscType disc;
        int64_t estimate;
        int bar;
        bool within;
    } const cases[] = {
        {0, DiscType::DVD5, 0, 0, true},
        {600, DiscType::DVD5, 307200, 45, true},
        {8600, DiscType::DVD5, 4403200, 648, false},  // exactly at the limit is not within
        {8600, DiscType::DVD9, 4403200, 327, true},
        {20000, DiscType::DVD5, 10240000, 648, false},  // bar stops at full width
    };
    for (const Case &c : cases) {
        const DiscEstimate e = EstimateDiscSize(c.seconds, kPerMinute, c.disc, kDvd5, kDvd9);
        EXPECT_EQ(e.estimateKB, c.estimate) << c.seconds;
        EXPECT_EQ(e.barWidth, c.bar) << c.seconds;
        EXPECT_EQ(e.withinLimit(), c.within) << c.seconds;
    }
}

TEST(DiscEstimate, LongProjectsDoNotWrap)
{
    // 200 hours: 32-bit arithmetic would wrap to a negative size.
    const DiscEstimate e = EstimateDiscSize(720000, kPerMinute, DiscType::DVD9, kDvd5, kDvd9);
    EXPECT_EQ(e.estimateKB, 368640000);
    EXPECT_EQ(e.barWidth, 648);
    EXPECT_FALSE(e.withinLimit());
}

} // namespace
} // namespace vt::project
