#include "app/production/letterbox_rule.h"

#include "app/production/production_params.h"

#include <gtest/gtest.h>

namespace vt::production {
namespace {

ProductionParams target(bool ntsc, int aspect)
{
    RunChoices choices;
    choices.ntsc = ntsc;
    choices.aspect = aspect;
    return MakeProductionParams(choices);
}

TEST(LetterboxRule, PictureSizeInsideTheFrame)
{
    struct Case {
        bool ntsc;
        int aspect;
        int width, displayHeight;
        const char *size;
    } const cases[] = {
        {false, kAspect4x3, 720, 404, "720:432"},   // 16:9 clip on a 4:3 PAL disc
        {false, kAspect16x9, 640, 480, "540:576"},  // 4:3 clip on a 16:9 disc: pillars
        {true, kAspect4x3, 640, 480, "720:480"},    // same shape: full frame
        {true, kAspect4x3, 720, 404, "720:360"},
        {false, kAspect4x3, 1920, 817, "720:328"},  // 2.35:1
        {true, kAspect16x9, 100, 400, "104:480"},   // narrow portrait clip
    };
    for (const Case &c : cases)
        EXPECT_EQ(LetterboxPictureSize(c.width, c.displayHeight, target(c.ntsc, c.aspect)), c.size)
            << c.width << "x" << c.displayHeight;
}

TEST(LetterboxRule, NoDivisionByZero)
{
    const ProductionParams pal = target(false, kAspect4x3);
    EXPECT_EQ(LetterboxPictureSize(0, 0, pal), "720:576");
    EXPECT_EQ(LetterboxPictureSize(720, 0, pal), "720:576");
    EXPECT_EQ(LetterboxPictureSize(0, 576, pal), "720:576");
}

} // namespace
} // namespace vt::production
