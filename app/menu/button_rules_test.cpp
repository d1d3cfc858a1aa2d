#include "app/menu/button_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vt::menu {
namespace {

TEST(LockRatioSize, FollowsTheClipShapeAndIgnoresUnusableAspects)
{
    struct Case {
        QSize size;
        double aspect;
        QSize expected;
    };
    const Case cases[] = {
        {{104, 78}, 16.0 / 9.0, {104, 65}},  // a = 62, c = 49: the width stays
        {{104, 78}, 4.0 / 3.0, {98, 78}},    // a = 62, c = 66: the height stays
        {{240, 60}, 4.0 / 3.0, {74, 60}},
        {{104, 78}, 0.0, {104, 78}},
        {{104, 78}, -1.0, {104, 78}},
        {{104, 78}, std::numeric_limits<double>::quiet_NaN(), {104, 78}},
        {{104, 78}, std::numeric_limits<double>::infinity(), {104, 78}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LockRatioSize(c.size, c.aspect), c.expected) << c.aspect;
}

TEST(HitZoneAt, BorderOfEightPixels)
{
    const QSize size(104, 78);
    struct Case {
        QPoint at;
        HitZone zone;
    };
    const Case cases[] = {
        {{8, 8}, HitZone::Move},          {{96, 70}, HitZone::Move},        {{50, 40}, HitZone::Move},
        {{7, 8}, HitZone::LeftEdge},      {{0, 70}, HitZone::LeftEdge},     {{8, 7}, HitZone::TopEdge},
        {{96, 0}, HitZone::TopEdge},      {{97, 8}, HitZone::RightEdge},    {{103, 70}, HitZone::RightEdge},
        {{8, 71}, HitZone::BottomEdge},   {{96, 77}, HitZone::BottomEdge},  {{7, 7}, HitZone::TopLeft},
        {{0, 0}, HitZone::TopLeft},       {{7, 71}, HitZone::BottomLeft},   {{97, 7}, HitZone::TopRight},
        {{97, 71}, HitZone::BottomRight}, {{103, 77}, HitZone::BottomRight},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HitZoneAt(c.at, size), c.zone) << c.at.x() << "," << c.at.y();
}

TEST(FrameLookFor, FourStates)
{
    EXPECT_EQ(FrameLookFor(true, true), (FrameLook{0xFF7500, 0xFF7500}));
    EXPECT_EQ(FrameLookFor(true, false), (FrameLook{0x0055FF, 0x0055FF}));
    EXPECT_EQ(FrameLookFor(false, true), (FrameLook{0x00FF00, std::nullopt}));
    EXPECT_EQ(FrameLookFor(false, false), (FrameLook{}));
}

TEST(DraggedBounds, EdgesMoveAndSidesAreHeld)
{
    const QRect start(100, 100, 104, 78);
    struct Case {
        HitZone zone;
        QPoint delta;
        QRect expected;
    };
    const Case cases[] = {
        {HitZone::Move, {-30, 12}, {70, 112, 104, 78}},
        // The left edge 100 pixels right: 80 wide at the least, the right edge stays.
        {HitZone::LeftEdge, {100, 0}, {124, 100, 80, 78}},
        {HitZone::LeftEdge, {-10, 50}, {90, 100, 114, 78}},
        {HitZone::RightEdge, {500, 0}, {100, 100, 240, 78}},
        {HitZone::TopEdge, {0, 40}, {100, 118, 104, 60}},
        {HitZone::BottomEdge, {0, 200}, {100, 100, 104, 180}},
        {HitZone::TopLeft, {-20, -20}, {80, 80, 124, 98}},
        {HitZone::BottomLeft, {10, 10}, {110, 100, 94, 88}},
        {HitZone::TopRight, {10, 10}, {100, 110, 114, 68}},
        {HitZone::BottomRight, {-100, -100}, {100, 100, 80, 60}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DraggedBounds(c.zone, start, c.delta), c.expected) << static_cast<int>(c.zone);
}

TEST(PictureAtSize, LetterboxesOnlyWhenKeepingAspectWithoutLock)
{
    QImage wide(160, 90, QImage::Format_RGB32);
    wide.fill(Qt::white);
    const QImage boxed = PictureAtSize(wide, {88, 62}, true, false);
    ASSERT_EQ(boxed.size(), QSize(88, 62));
    EXPECT_EQ(boxed.pixelColor(44, 0), QColor(Qt::black));  // bar above
    EXPECT_EQ(boxed.pixelColor(44, 31), QColor(Qt::white));
    EXPECT_EQ(boxed.pixelColor(44, 61), QColor(Qt::black));  // bar below

    for (const auto &[keep, lock] : {std::pair{false, false}, std::pair{true, true}, std::pair{false, true}}) {
        const QImage stretched = PictureAtSize(wide, {88, 62}, keep, lock);
        EXPECT_EQ(stretched.pixelColor(44, 0), QColor(Qt::white));
        EXPECT_EQ(stretched.pixelColor(0, 61), QColor(Qt::white));
    }
    EXPECT_TRUE(PictureAtSize(wide, {0, 62}, true, false).isNull());
}

} // namespace
} // namespace vt::menu
