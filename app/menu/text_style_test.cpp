#include "app/menu/text_style.h"
#include "app/menu/knob_scale.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

TEST(TextStyle, IndexAndBackAgain)
{
    for (int index = 0; index < 4; ++index) {
        bool bold = false, italic = false;
        StyleFromIndex(index, bold, italic);
        EXPECT_EQ(StyleIndex(bold, italic), index);
    }
    EXPECT_EQ(StyleIndex(true, false), 2);
    EXPECT_EQ(StyleIndex(false, true), 1);
}

TEST(CutSampleText, WholeCharactersInProportion)
{
    struct Case {
        std::string text;
        int group, sample;
        std::string expected;
    };
    const Case cases[] = {
        {"abcdefgh", 100, 200, "abcd"},           // twice as wide: half the characters
        {"abcdefgh", 100, 100, "abcdefgh"},       // fits
        {"abcdefgh", 100, 50, "abcdefgh"},
        {"Überschrift ✓", 100, 100, "Überschrift ✓"},
        {"ÄÖÜäöü", 100, 200, "ÄÖÜ"},             // two-byte characters stay whole
        {"✓✓✓✓✓", 100, 300, "✓"},                 // trunc(5 ÷ 3)
        {"a😀b😀", 100, 200, "a😀"},              // four-byte characters too
        {"abc", 0, 200, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CutSampleText(c.text, c.group, c.sample), c.expected) << c.text;
}

TEST(TrimmedText, BlanksAtBothEnds)
{
    EXPECT_EQ(TrimmedText("  Menu \t"), "Menu");
    EXPECT_EQ(TrimmedText("   "), "");
    EXPECT_EQ(TrimmedText("a b"), "a b");
}

TEST(KnobScale, PositionsAndTimes)
{
    const KnobScale scale = KnobScale::forRange(100, 388);
    EXPECT_EQ(scale.positionFor(50), 28);
    EXPECT_EQ(scale.positionFor(100), 28);
    EXPECT_EQ(scale.positionFor(244), 172);
    EXPECT_EQ(scale.positionFor(388), 316);
    EXPECT_EQ(scale.positionFor(999), 316);
    EXPECT_EQ(scale.timeAt(28), 100);
    EXPECT_EQ(scale.timeAt(172), 244);
    EXPECT_EQ(scale.timeAt(316), 388);
    EXPECT_EQ(scale.timeAt(400), 388);  // held to the slider

    const KnobScale still = KnobScale::forRange(7, 7);  // one second
    EXPECT_EQ(still.t1, 8);
    EXPECT_EQ(still.positionFor(7), 28);
    EXPECT_EQ(still.positionFor(8), 316);
    EXPECT_EQ(still.timeAt(315), 7);
}

TEST(RequestedSecond, LastTenSecondsAndSecondOne)
{
    EXPECT_EQ(RequestedSecond(35, 60), 35);
    EXPECT_EQ(RequestedSecond(55, 60), 45);
    EXPECT_EQ(RequestedSecond(50, 60), 50);
    EXPECT_EQ(RequestedSecond(0, 60), 1);
    EXPECT_EQ(RequestedSecond(3, 5), 1);
}

} // namespace
} // namespace vt::menu
