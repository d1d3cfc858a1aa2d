#include "app/project/trim_range.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

TEST(RangeBar, HandlesFollowTheTimes)
{
    EXPECT_EQ(PlaceHandles(0, 100, 100), (HandlePositions{0, 230, true}));
    EXPECT_EQ(PlaceHandles(25, 50, 100), (HandlePositions{55, 120, true}));
    EXPECT_EQ(PlaceHandles(0, 0, 0), (HandlePositions{0, 230, false}));
}

TEST(RangeBar, ReleasedHandlesGiveTimes)
{
    EXPECT_EQ(StartFromHandle(55, 100), 25);
    EXPECT_EQ(StartFromHandle(220, 100), 90);  // at most duration − 10
    EXPECT_EQ(StartFromHandle(110, 8), 0);     // a clip under 10 s always starts at 0
    EXPECT_EQ(EndFromHandle(120, 100), 50);
    EXPECT_EQ(EndFromHandle(230, 100), 100);
    EXPECT_EQ(PreviewSecondForStart(0), 1);
    EXPECT_EQ(PreviewSecondForEnd(100, 100), 90);
    EXPECT_EQ(PreviewSecondForEnd(3, 8), 1);
}

TEST(RangeBar, DraggingKeepsTheHandlesApartAndOnTheBar)
{
    const HandlePositions h{50, 120, true};
    EXPECT_EQ(DragLeftHandle(h, 80), (HandlePositions{80, 120, true}));
    EXPECT_EQ(DragLeftHandle(h, 200), (HandlePositions{110, 120, true}));
    EXPECT_EQ(DragLeftHandle(h, -5), (HandlePositions{0, 120, true}));
    EXPECT_EQ(DragRightHandle(h, 55), (HandlePositions{50, 60, true}));
    EXPECT_EQ(DragRightHandle(h, 400), (HandlePositions{50, 232, true}));
    // The stretch (60 pixels between the handles) moves both.
    EXPECT_EQ(DragStretch(h, 70), (HandlePositions{70, 140, true}));
    EXPECT_EQ(DragStretch(h, 500), (HandlePositions{162, 232, true}));
    EXPECT_EQ(DragStretch(h, -40), (HandlePositions{0, 70, true}));
}

TEST(TimeBox, ValueReadsDigitPositions)
{
    EXPECT_EQ(TimeBoxValue("01:02:03"), 3723);
    EXPECT_EQ(TimeBoxValue("  :  :  "), 0);
    EXPECT_EQ(TimeBoxValue(" 1:_2: 5"), 3600 + 120 + 5);
    EXPECT_EQ(TimeBoxValue("99:99:99"), 99 * 3600 + 99 * 60 + 99);
}

TEST(TimeBox, ColoursMarkInvalidTimes)
{
    const ClipTimes clip{10, 50, 60};
    struct Case {
        TimeBoxKind kind;
        const char *text;
        uint32_t colour;
    } const cases[] = {
        {TimeBoxKind::Start, "00:00:20", kTimeBoxNormal},
        {TimeBoxKind::Start, "00:00:50", kTimeBoxNormal},
        {TimeBoxKind::Start, "00:00:51", kTimeBoxInvalid},
        {TimeBoxKind::End, "00:01:00", kTimeBoxNormal},
        {TimeBoxKind::End, "00:01:01", kTimeBoxInvalid},
        {TimeBoxKind::End, "00:00:09", kTimeBoxInvalid},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TimeBoxColour(c.kind, c.text, &clip), c.colour) << c.text;
    EXPECT_EQ(TimeBoxColour(TimeBoxKind::End, "99:00:00", nullptr), kTimeBoxNormal);
}

TEST(TimeBox, ConfirmAppliesOnlyValidTimes)
{
    const ClipTimes clip{10, 50, 60};
    ConfirmedTimes r = ConfirmTimeBox(TimeBoxKind::Start, "00:00:55", clip);
    EXPECT_FALSE(r.applied);  // start after end
    r = ConfirmTimeBox(TimeBoxKind::End, "00:01:10", clip);
    EXPECT_FALSE(r.applied);  // end after the duration
    r = ConfirmTimeBox(TimeBoxKind::Start, "00:00:10", clip);
    EXPECT_FALSE(r.applied);  // unchanged
    r = ConfirmTimeBox(TimeBoxKind::Start, "00:00:00", clip);
    ASSERT_TRUE(r.applied);
    EXPECT_EQ(r.times.start, 0);
    EXPECT_EQ(r.previewSecond, 1);
    r = ConfirmTimeBox(TimeBoxKind::Start, "00:00:50", ClipTimes{10, 60, 60});
    ASSERT_TRUE(r.applied);
    EXPECT_EQ(r.times.start, 50);
    r = ConfirmTimeBox(TimeBoxKind::End, "00:00:30", clip);
    ASSERT_TRUE(r.applied);
    EXPECT_EQ(r.times.end, 30);
    EXPECT_EQ(r.times.start, 10);
    EXPECT_EQ(r.previewSecond, 30);
}

} // namespace
} // namespace vt::project
