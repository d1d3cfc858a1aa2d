#include "plugins/smde/utf16_text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf16Text, ConvertsWithinItsBound)
{
    std::string out;
    EXPECT_TRUE(smde::utf16ToUtf8(u"Qt\u00e9\u20ac\U0001F600", 16, &out));
    EXPECT_EQ(out, "Qt\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_TRUE(smde::utf16ToUtf8(lone, 16, &out));
    EXPECT_EQ(out, "a\xef\xbf\xbd" "b");
    const char16_t noEnd[4] = {u'a', u'b', u'c', u'd'};
    EXPECT_FALSE(smde::utf16ToUtf8(noEnd, 4, &out));
    EXPECT_FALSE(smde::utf16ToUtf8(nullptr, 4, &out));
}

TEST(Utf16Text, ListsEndWithAnEmptyString)
{
    std::vector<std::string> items;
    EXPECT_TRUE(smde::utf16ListToUtf8(u".mov\0.qt\0", 64, &items));
    EXPECT_EQ(items, (std::vector<std::string>{".mov", ".qt"}));
    EXPECT_TRUE(smde::utf16ListToUtf8(u"", 64, &items));
    EXPECT_TRUE(items.empty());
    // The terminating empty string lies past the bound.
    EXPECT_FALSE(smde::utf16ListToUtf8(u".mov\0.qt\0", 8, &items));
    EXPECT_TRUE(items.empty());
}

}  // namespace
