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

} // namespace
} // namespace vt::menu
