#include "app/common/format_hms.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatHMSTest, FormatsSecondsAsHoursMinutesSeconds)
{
    struct Case {
        int64_t seconds;
        const char *expected;
    } cases[] = {
        {0, "00:00:00"}, {59, "00:00:59"}, {3661, "01:01:01"}, {36000 - 1, "09:59:59"},
        {360000, "100:00:00"}, {int64_t(1) << 40, "305419896:36:16"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(vt::common::FormatHMS(c.seconds), c.expected) << c.seconds;
}

TEST(FormatHMSTest, TwoDigitsUsesTheAbsoluteValue)
{
    EXPECT_EQ(vt::common::TwoDigits(7), "07");
    EXPECT_EQ(vt::common::TwoDigits(-7), "07");
    EXPECT_EQ(vt::common::TwoDigits(10), "10");
    EXPECT_EQ(vt::common::TwoDigits(INT64_MIN), "9223372036854775808");
}

} // namespace
