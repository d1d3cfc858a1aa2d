#include "app/menu/knob_scale.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

TEST(KnobScale, PositionsAndTimes)
{
    const KnobScale scale = KnobScale::forRange(100, 388);
    EXPECT_EQ(scale.positionFor(50), 28);
    EXPECT_EQ(scale.positionFor(100), 28);
    EXPECT_EQ(scale.positionFor(244), 172);
    EXPECT_EQ(scale.positionFor(388), 316);
    EXPECT_EQ(scale.positionFor(999), 316);
    EXPECT_EQ(scale.timeAt(28), 100);
    EXPECT_EQ(scale.timeAt(172), 244);
    EXPECT_EQ(scale.timeAt(316), 388);
    EXPECT_EQ(scale.timeAt(400), 388);  // held to the slider

    const KnobScale still = KnobScale::forRange(7, 7);  // one second
    EXPECT_EQ(still.t1, 8);
    EXPECT_EQ(still.positionFor(7), 28);
    EXPECT_EQ(still.positionFor(8), 316);
    EXPECT_EQ(still.timeAt(315), 7);
}

TEST(RequestedSecond, LastTenSecondsAndSecondOne)
{
    EXPECT_EQ(RequestedSecond(35, 60), 35);
    EXPECT_EQ(RequestedSecond(55, 60), 45);
    EXPECT_EQ(RequestedSecond(50, 60), 50);
    EXPECT_EQ(RequestedSecond(0, 60), 1);
    EXPECT_EQ(RequestedSecond(3, 5), 1);
}

} // namespace
} // namespace vt::menu
