#include "app/menu/text_style.h"

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

} // namespace
} // namespace vt::menu
