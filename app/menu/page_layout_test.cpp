#include "app/menu/page_layout.h"

#include "app/menu/button_rules.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

constexpr QSize kBackButton{64, 32};
constexpr int kHeading = 31, kCaption = 17;

struct Shape {
    const char *name;
    PictureShape shape;
    double aspect;
};
constexpr Shape kShapes[] = {{"4:3", PictureShape::Standard, 4.0 / 3.0}, {"16:9", PictureShape::Wide, 16.0 / 9.0}};

TEST(PageLayout, ColumnsBalanceTheGrid)
{
    const int expected[] = {1, 2, 3, 2, 3, 3, 4, 4, 3, 4, 4, 4};
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(LayoutColumns(n), expected[n - 1]) << n;
}

// Every page of 1 to 12 buttons, in both shapes and with a larger safe
// margin: inside the safe area, no button or caption on another, none on
// the heading or the back button, each row centred, the pictures in the
// page's shape.
TEST(PageLayout, EveryCountFitsTheSafeAreaWithoutOverlaps)
{
    for (const Shape &shape : kShapes) {
        for (int safe : {10, 24}) {
            const MenuPanel panel{shape.shape, safe};
            const QRect back(panel.clamp(kInitialBackButton, kBackButton), kBackButton);
            for (int n = 1; n <= 12; ++n) {
                SCOPED_TRACE(std::string(shape.name) + " safe " + std::to_string(safe) + ", " + std::to_string(n));
                const PageLayout layout = LayOutPage({n, kHeading, kCaption, kBackButton}, panel);
                ASSERT_EQ(layout.buttons.size(), size_t(n));
                const QSize button = layout.buttonSize;
                EXPECT_GE(button.width(), kMinButtonWidth);
                EXPECT_LE(button.height(), kMaxButtonHeight);
                const double picture = double(button.width() - 16) / (button.height() - 16);
                EXPECT_NEAR(picture, shape.aspect, 0.05);

                std::vector<QRect> cells;
                for (int k = 0; k < n; ++k) {
                    QRect cell(layout.buttons[size_t(k)], button);
                    if (layout.captions)
                        cell = cell.united(layout.captionUnder(k, kCaption));
                    cells.push_back(cell);
                }
                for (size_t a = 0; a < cells.size(); ++a) {
                    EXPECT_TRUE(panel.safeFrame().contains(cells[a])) << a;
                    EXPECT_FALSE(cells[a].intersects(back)) << a;
                    if (!layout.heading.isNull()) {
                        EXPECT_FALSE(cells[a].intersects(layout.heading)) << a;
                    }
                    for (size_t b = a + 1; b < cells.size(); ++b)
                        EXPECT_FALSE(cells[a].intersects(cells[b])) << a << " " << b;
                }
                // Each row's middle is the panel's middle.
                const int columns = LayoutColumns(n);
                for (int first = 0; first < n; first += columns) {
                    const int last = std::min(n, first + columns) - 1;
                    const int middle = (layout.buttons[size_t(first)].x() + layout.buttons[size_t(last)].x() +
                                        button.width()) / 2;
                    EXPECT_NEAR(middle, kPanelWidth / 2, 1) << "row from " << first;
                }
            }
        }
    }
}

TEST(PageLayout, FewButtonsAreLargeAndTheHeadingGivesWayOnlyWhenNeeded)
{
    const MenuPanel standard{PictureShape::Standard, 10}, wide{PictureShape::Wide, 10};
    struct Case {
        const MenuPanel &panel;
        int buttons;
        bool heading;
    } cases[] = {
        {standard, 1, true}, {standard, 12, true}, {wide, 6, true}, {wide, 8, true}, {wide, 12, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.buttons);
        const PageLayout layout = LayOutPage({c.buttons, kHeading, kCaption, kBackButton}, c.panel);
        EXPECT_EQ(!layout.heading.isNull(), c.heading);
        if (c.heading) {
            EXPECT_EQ(layout.heading, QRect(10, 10, 498, kHeading));
        }
        EXPECT_TRUE(layout.captions);
    }
    // One clip: a big picture in the middle, not a thumbnail in a corner.
    const PageLayout one = LayOutPage({1, kHeading, kCaption, kBackButton}, standard);
    EXPECT_EQ(one.buttonSize.width(), 200);
    EXPECT_EQ(one.buttons[0].x(), (kPanelWidth - 200) / 2);
    // No heading and no back button: the grid uses the whole safe area.
    const PageLayout bare = LayOutPage({12, 0, 0, {}}, wide);
    EXPECT_TRUE(bare.heading.isNull());
    EXPECT_GT(bare.buttonSize.width(), LayOutPage({12, kHeading, kCaption, kBackButton}, wide).buttonSize.width());
    EXPECT_TRUE(LayOutPage({0, kHeading, kCaption, kBackButton}, wide).buttons.empty());
}

} // namespace
} // namespace vt::menu
