#include "app/production/menu_mapping.h"

#include <gtest/gtest.h>

namespace vt::production {
namespace {

TEST(MenuMapping, ProductsAreTruncatedUnrounded)
{
    struct {
        int64_t value;
        double factor;
        int64_t expected;
    } cases[] = {
        {100, kDesignToFrame, 138},  // 1.39 is stored just below 1.39
        {200, kDesignToFrame, 277},
        {400, kDesignToFrame, 555},
        {0, kDesignToFrame, 0},
        {-100, kDesignToFrame, -138},  // toward zero
        {10, kFontScale, 13},
        {15, kFontScale, 20},
        {540, 576.0 / 540, 575},  // 576/540 is stored just below its value
        {80, 576.0 / 540, 85},
        {113, 576.0 / 540, 120},
        {404, 480.0 / 404, 479},
        {3, 0.5, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TruncatedProduct(c.value, c.factor), c.expected) << c.value << " x " << c.factor;
}

TEST(MenuMapping, ButtonOfAPal43Page)
{
    const DesignMapping pal43(576, 540);
    const EdgeRect control{100, 50, 200, 90};
    EXPECT_EQ(pal43.MapButtonRect(control), (EdgeRect{150, 85, 266, 120}));
    EXPECT_EQ(pal43.MapTextRect(control), (EdgeRect{138, 73, 277, 133}));
    EXPECT_EQ(pal43.MapDesignPoint(100, 200), (FramePoint{138, 295}));
}

TEST(MenuMapping, VerticalFactorPerStandardAndShape)
{
    struct {
        int frameHeight, designHeight;
        FramePoint expected;
    } cases[] = {
        {576, 540, {555, 591}},  // 555 × 576/540 lies just below 592
        {480, 540, {555, 493}},
        {576, 404, {555, 791}},
        {480, 404, {555, 659}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DesignMapping(c.frameHeight, c.designHeight).MapDesignPoint(400, 400), c.expected)
            << c.frameHeight << "/" << c.designHeight;
}

TEST(MenuMapping, FontSizes)
{
    EXPECT_EQ(MenuFontSize(10), 13);
    EXPECT_EQ(MenuFontSize(15), 20);
    EXPECT_EQ(MenuFontSize(20), 27);
}

} // namespace
} // namespace vt::production
