#include "plugins/ffmpeg/resize_geometry.h"

#include <gtest/gtest.h>

namespace {

using ffplug::ResizeGeometry;
using ffplug::ResizeTarget;

constexpr double kPal43 = 16.0 / 15.0;
constexpr double kPal169 = 64.0 / 45.0;

TEST(ResizeGeometryTest, Table)
{
    struct Case {
        const char *what;
        ResizeTarget target;
        int w, h;
        double p;
        ResizeGeometry expected;
    };
    const Case cases[] = {
        {"16:9 PAL into 4:3 PAL: letterbox 72/72", {720, 576, kPal43}, 720, 576, kPal169,
         {720, 576, 0, 0, 72, 72, kPal43}},
        {"rounded aspect values give the same bands", {720, 576, 1.0667}, 720, 576, 1.4222,
         {720, 576, 0, 0, 72, 72, 1.0667}},
        {"same shape, no aspect given: no bands", {720, 576, 0}, 720, 576, kPal43,
         {720, 576, 0, 0, 0, 0, kPal43}},
        {"square 4:3 into square 16:9: pillarbox 80/80", {640, 360, 1}, 640, 480, 1,
         {640, 360, 80, 80, 0, 0, 1}},
        {"odd band total: the right band takes the rest", {641, 360, 1}, 640, 480, 1,
         {641, 360, 80, 81, 0, 0, 1}},
        {"left band rounded down to even", {646, 360, 1}, 640, 480, 1,
         {646, 360, 82, 84, 0, 0, 1}},
        {"640 wide from PAL 4:3 is 640x480", {640, 0, 1}, 720, 576, kPal43,
         {640, 480, 0, 0, 0, 0, 1}},
        {"only a height", {0, 480, 1}, 720, 576, kPal43, {640, 480, 0, 0, 0, 0, 1}},
        {"only a width, no aspect: the source's aspect is kept", {360, 0, 0}, 720, 576, kPal43,
         {360, 288, 0, 0, 0, 0, kPal43}},
        {"only pixel aspect 2 on square pixels doubles the height", {0, 0, 2}, 320, 240, 1,
         {320, 480, 0, 0, 0, 0, 2}},
        {"only a smaller pixel aspect widens", {0, 0, 1}, 720, 576, kPal43, {768, 576, 0, 0, 0, 0, 1}},
        {"input aspect 0 counts as 1", {640, 480, 1}, 640, 480, 0, {640, 480, 0, 0, 0, 0, 1}},
        {"negative input aspect counts as 1", {0, 0, 2}, 10, 10, -3, {10, 20, 0, 0, 0, 0, 2}},
        {"extreme shape keeps at least one row", {100, 100, 1}, 100000, 1, 1, {100, 100, 0, 0, 48, 51, 1}},
        {"tiny scale stays at least one pixel", {1, 0, 1}, 1000, 2, 1, {1, 1, 0, 0, 0, 0, 1}},
    };
    for (const Case &c : cases) {
        ResizeGeometry g = ffplug::resizeGeometry(c.target, c.w, c.h, c.p);
        EXPECT_EQ(g.width, c.expected.width) << c.what;
        EXPECT_EQ(g.height, c.expected.height) << c.what;
        EXPECT_EQ(g.left, c.expected.left) << c.what;
        EXPECT_EQ(g.right, c.expected.right) << c.what;
        EXPECT_EQ(g.top, c.expected.top) << c.what;
        EXPECT_EQ(g.bottom, c.expected.bottom) << c.what;
        EXPECT_DOUBLE_EQ(g.pixelAspect, c.expected.pixelAspect) << c.what;
        EXPECT_GE(g.innerWidth(), 1) << c.what;
        EXPECT_GE(g.innerHeight(), 1) << c.what;
    }
}

}  // namespace
