#include "app/project/disc_fit.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

constexpr int64_t kDvd5KB = 4403200, kDvd9KB = 8704000, kFortyMB = 40 * 1024;

TEST(DiscFit, FillsTheDiscWithinItsCapacityOrClampsToTheDvdLimits)
{
    enum Expect { Fills, AtCeiling, Refused };
    struct Case {
        const char *name;
        DiscContents contents;
        int64_t capacityKB;
        Expect expect;
    } const cases[] = {
        {"one minute on 40 MB", {60, 192, 0, 0}, kFortyMB, Fills},
        {"two hours on DVD-5", {7200, 192, 0, 0}, kDvd5KB, Fills},
        {"four hours on DVD-9", {14400, 192, 0, 0}, kDvd9KB, Fills},
        {"two hours with menus and subtitles", {7200, 192, 120, 7200}, kDvd5KB, Fills},
        {"half an hour on DVD-5", {1800, 192, 0, 0}, kDvd5KB, AtCeiling},
        {"ten hours on DVD-5", {36000, 192, 0, 0}, kDvd5KB, Refused},
        {"one minute on 5 MB", {60, 192, 0, 0}, 5 * 1024, Refused},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DiscFit fit = FitVideoToDisc(c.contents, c.capacityKB);
        EXPECT_EQ(fit.capacityKB, c.capacityKB);
        switch (c.expect) {
        case Fills:
            EXPECT_TRUE(fit.fits);
            EXPECT_GT(fit.videoKbps, kFitFloorKbps);
            EXPECT_LT(fit.videoKbps, kFitCeilingKbps);
            // Planned close to full, with room for the rate control's spread.
            EXPECT_LE(fit.plannedKB, c.capacityKB * 97 / 100);
            EXPECT_GE(fit.plannedKB, c.capacityKB * 94 / 100);
            break;
        case AtCeiling:
            EXPECT_TRUE(fit.fits);
            EXPECT_EQ(fit.videoKbps, kFitCeilingKbps);
            EXPECT_LT(fit.plannedKB, c.capacityKB);
            break;
        case Refused:
            EXPECT_FALSE(fit.fits);
            EXPECT_EQ(fit.videoKbps, kFitFloorKbps);
            EXPECT_GT(fit.plannedKB, c.capacityKB);
            break;
        }
    }
}

TEST(DiscFit, MenusAndSubtitlesTakeTheirShareFromThePictures)
{
    const DiscContents plain{7200, 192, 0, 0};
    const int plainKbps = FitVideoToDisc(plain, kDvd5KB).videoKbps;
    DiscContents withMenus = plain;
    withMenus.menuSeconds = 600;
    DiscContents withSubtitles = plain;
    withSubtitles.subtitledSeconds = 7200;
    DiscContents loudSound = plain;
    loudSound.audioKbps = 448;
    for (const DiscContents &other : {withMenus, withSubtitles, loudSound}) {
        const DiscFit fit = FitVideoToDisc(other, kDvd5KB);
        EXPECT_LT(fit.videoKbps, plainKbps);
        EXPECT_LE(fit.plannedKB, kDvd5KB);
    }
}

TEST(DiscFit, AProjectWithoutTitlesFitsAtTheCeiling)
{
    const DiscFit empty = FitVideoToDisc({0, 192, 0, 0}, kDvd5KB);
    EXPECT_TRUE(empty.fits);
    EXPECT_EQ(empty.videoKbps, kFitCeilingKbps);
    EXPECT_EQ(empty.plannedKB, 0);
}

} // namespace
} // namespace vt::project
