#include "platform/colour.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourTest, ColourValueIsBlueGreenRed)
{
    // The list entries' background colour.
    EXPECT_EQ(vt::rgbFromColourValue(0x797571), (vt::Rgb {113, 117, 121}));
    EXPECT_EQ(vt::colourValueFromRgb({113, 117, 121}), 0x797571u);
    EXPECT_EQ(vt::rrggbbFromColourValue(0x0000FF), 0xFF0000u);
    EXPECT_EQ(vt::colourValueFromRrggbb(0x123456), 0x563412u);
    // The unused top byte is ignored.
    EXPECT_EQ(vt::rgbFromColourValue(0xFF010203), (vt::Rgb {3, 2, 1}));
}

} // namespace
