#include "app/menu/menu_panel.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

TEST(MenuPanel, SizePerShapeAndSafeFrame)
{
    MenuPanel standard{PictureShape::Standard, 10};
    MenuPanel wide{PictureShape::Wide, 10};
    EXPECT_EQ(standard.size(), QSize(518, 388));
    EXPECT_EQ(standard.top(), 92);
    EXPECT_EQ(wide.size(), QSize(518, 292));
    EXPECT_EQ(wide.top(), 140);
    EXPECT_EQ(standard.safeFrame(), QRect(10, 10, 498, 368));
    EXPECT_TRUE((MenuPanel{PictureShape::Standard, 0}).safeFrame().isNull());
}

TEST(MenuPanel, ClampKeepsElementsInsideAndTheLowerBoundWhenTheyDoNotFit)
{
    const MenuPanel panel{PictureShape::Wide, 10};
    struct Case {
        QPoint at;
        QSize element;
        QPoint expected;
    };
    const Case cases[] = {
        {{0, 1000}, {60, 30}, {10, 252}},
        {{-5, -5}, {104, 78}, {10, 10}},
        {{200, 100}, {104, 78}, {200, 100}},
        {{600, 300}, {104, 78}, {404, 204}},
        {{50, 50}, {600, 400}, {10, 10}},  // wider and higher than the panel
    };
    for (const Case &c : cases)
        EXPECT_EQ(panel.clamp(c.at, c.element), c.expected);
}

TEST(GridPosition, FourColumnsThreeRowsThenAlongTheBottom)
{
    const MenuPanel panel{PictureShape::Standard, 10};
    const QSize button(104, 78);
    EXPECT_EQ(GridPosition(0, button, panel), QPoint(20, 15));
    EXPECT_EQ(GridPosition(3, button, panel), QPoint(380, 15));
    EXPECT_EQ(GridPosition(5, button, panel), QPoint(140, 105));
    EXPECT_EQ(GridPosition(11, button, panel), QPoint(380, 195));
    EXPECT_EQ(GridPosition(12, button, panel), QPoint(40, 300));
    EXPECT_EQ(GridPosition(40, button, panel), QPoint(404, 300));  // 600 clamped
    const MenuPanel wide{PictureShape::Wide, 10};
    EXPECT_EQ(GridPosition(12, button, wide), QPoint(40, 204));
}

} // namespace
} // namespace vt::menu
