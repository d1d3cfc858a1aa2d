#include "framework/core/test_context.h"

#include <string>
#include <vector>

namespace {

class UtfTest : public ContextTest {
protected:
    std::vector<uint32_t> utf32(const std::string &text)
    {
        uint32_t *units = zif_utf8ToUTF32(ctx, text.c_str());
        std::vector<uint32_t> out;
        for (uint32_t *u = units; *u; ++u)
            out.push_back(*u);
        zif_free(ctx, units);
        return out;
    }

    std::vector<uint32_t> utf16(const std::string &text)
    {
        zif_char16 *units = zif_utf8ToUTF16(ctx, text.c_str());
        std::vector<uint32_t> out;
        for (zif_char16 *u = units; *u; ++u)
            out.push_back(*u);
        zif_free(ctx, units);
        return out;
    }
};

TEST_F(UtfTest, ValidSequences)
{
    struct Case {
        const char *utf8;
        std::vector<uint32_t> utf32, utf16;
    } cases[] = {
        {"A", {0x41}, {0x41}},
        {"\xc3\xa9", {0xE9}, {0xE9}},
        {"\xe2\x82\xac", {0x20AC}, {0x20AC}},
        {"\xf0\x9f\x98\x80", {0x1F600}, {0xD83D, 0xDE00}},
        {"\xf4\x8f\xbf\xbf", {0x10FFFF}, {0xDBFF, 0xDFFF}},
        {"\xef\xbf\xbd", {0xFFFD}, {0xFFFD}},
        {"", {}, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(utf32(c.utf8), c.utf32) << c.utf8;
        EXPECT_EQ(utf16(c.utf8), c.utf16) << c.utf8;
    }
}

TEST_F(UtfTest, InvalidBytesStandAloneSignExtended)
{
    struct Case {
        const char *what;
        std::string utf8;
        std::vector<uint32_t> utf32;
    } cases[] = {
        {"lone lead byte", "\xe9x", {0xFFFFFFE9, 'x'}},
        {"cut short", "a\xe2\x82", {'a', 0xFFFFFFE2, 0xFFFFFF82}},
        {"stray continuation", "\x80", {0xFFFFFF80}},
        {"overlong slash", "\xc0\xaf", {0xFFFFFFC0, 0xFFFFFFAF}},
        {"overlong three bytes", "\xe0\x80\xaf", {0xFFFFFFE0, 0xFFFFFF80, 0xFFFFFFAF}},
        {"surrogate", "\xed\xa0\x80", {0xFFFFFFED, 0xFFFFFFA0, 0xFFFFFF80}},
        {"above U+10FFFF", "\xf4\x90\x80\x80", {0xFFFFFFF4, 0xFFFFFF90, 0xFFFFFF80, 0xFFFFFF80}},
        {"five-byte lead", "\xf8\x88\x80\x80\x80", {0xFFFFFFF8, 0xFFFFFF88, 0xFFFFFF80, 0xFFFFFF80, 0xFFFFFF80}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(utf32(c.utf8), c.utf32) << c.what;
        std::vector<uint32_t> narrowed;
        for (uint32_t u : c.utf32)
            narrowed.push_back(u & 0xFFFF);
        EXPECT_EQ(utf16(c.utf8), narrowed) << c.what;
    }
}

TEST_F(UtfTest, StringHelpers)
{
    char *copy = zif_copyString(ctx, "abc");
    EXPECT_STREQ(copy, "abc");
    char *prefix = zif_copyStringN(ctx, "abcdef", 2);
    EXPECT_STREQ(prefix, "ab");
    char *joined = zif_concatStrings(ctx, copy, prefix);
    EXPECT_STREQ(joined, "abcab");

    char *grown = nullptr;
    ASSERT_TRUE(zif_concatStringsR(ctx, &grown, "x"));
    ASSERT_TRUE(zif_concatStringsR(ctx, &grown, "yz"));
    EXPECT_STREQ(grown, "xyz");

    EXPECT_EQ(zif_copyStringN(ctx, "abc", -2), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    for (char *p : {copy, prefix, joined, grown})
        zif_free(ctx, p);
}

}  // namespace
