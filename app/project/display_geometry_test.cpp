#include "app/project/display_geometry.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

struct DisplayCase {
    int32_t width, height, code;
    bool interlaced;
    PictureSize display;
};

TEST(DisplaySize, FollowsTheAspectCode)
{
    const DisplayCase cases[] = {
        {640, 480, 3, true, {640, 360}},   // 16:9 interlaced
        {720, 480, 2, true, {720, 540}},   // 4:3 NTSC
        {720, 576, 3, false, {720, 405}},  // anamorphic progressive clip
        {720, 576, 4, false, {720, 325}},  // 2.21:1 progressive
        {320, 240, 0, false, {320, 240}},  // progressive, shape as coded
        {320, 240, 1, false, {320, 240}},  // progressive square pixels: coded size
        {320, 240, 1, true, {320, 320}},   // interlaced 1:1 takes the width
        {352, 288, 0, true, {352, 288}},   // interlaced, code 0: the coded ratio
    };
    for (const DisplayCase &c : cases)
        EXPECT_EQ(DisplaySize(c.width, c.height, c.code, c.interlaced), c.display)
            << c.width << "x" << c.height << " code " << c.code << " interlaced " << c.interlaced;
}

TEST(PreviewSize, FitsTheAreaInMultiplesOfFour)
{
    EXPECT_EQ(PreviewSize(640.0 / 360.0), (PictureSize{296, 168}));
    EXPECT_EQ(PreviewSize(720.0 / 540.0), (PictureSize{296, 220}));  // 293 rounded up to 296
    EXPECT_EQ(PreviewSize(1.0), (PictureSize{220, 220}));
    EXPECT_EQ(PreviewSize(296.0 / 220.0), (PictureSize{296, 220}));
    EXPECT_EQ(PreviewSize(2.21), (PictureSize{296, 136}));
}

TEST(SnapshotSize, ShrinksOnlyLargePictures)
{
    EXPECT_EQ(SnapshotSize({720, 540}), (PictureSize{720, 540}));
    EXPECT_EQ(SnapshotSize({1920, 1080}), (PictureSize{720, 405}));
    EXPECT_EQ(SnapshotSize({720, 720}), (PictureSize{576, 576}));
}

} // namespace
} // namespace vt::project
