#include "app/burn/disc_facts.h"

#include <gtest/gtest.h>

namespace vt::burn {
namespace {

TEST(EraseEstimate, ByDiscTypeQuickFlagAndSpeed)
{
    const struct {
        int32_t type;
        bool quick;
        uint64_t used, free;
        uint32_t speed, seconds;
    } cases[] = {
        {7, true, 0, 4700000000ull, 2770, 1915},   // (716800 + 4589843) / 2770
        {9, true, 2000000000ull, 2700000000ull, 2770, 1915},
        {8, false, 0, 4700000000ull, 2770, 258},   // 716800 / 2770
        {3, true, 0, 700000000, 1400, 36},         // 51200 / 1400
        {12, false, 0, 700000000, 1400, 524},      // (51200 + 683593) / 1400
        {5, true, 0, 4700000000ull, 2770, 0},      // write-once
        {7, true, 0, 4700000000ull, 0, 0},         // no speed: no estimate, no division
    };
    for (const auto &c : cases)
        EXPECT_EQ(EraseEstimateSeconds(c.type, c.quick, c.used, c.free, c.speed), c.seconds) << c.type;
}

TEST(DiscNames, BothEnginesTables)
{
    EXPECT_EQ(DiscTypeName(9), "DVD+RW");
    EXPECT_EQ(DiscTypeName(7), "DVD-RW");
    EXPECT_EQ(DiscTypeName(15), "DVD+R DL");
    EXPECT_EQ(DiscTypeName(22), "HD-DVD RW");
    EXPECT_EQ(DiscTypeName(23), "Unknown");
    EXPECT_EQ(DiscTypeName(-1), "Unknown");
    EXPECT_EQ(EngineMediaName(5), " DVD+R/W Media.");
    EXPECT_EQ(EngineMediaName(255), "CDROM");
    EXPECT_EQ(EngineMediaName(11), "Unknown Media.");
}

} // namespace
} // namespace vt::burn
