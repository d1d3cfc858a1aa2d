#include "framework/core/test_context.h"

#include <cstdlib>
#include <cstring>

namespace {

using ScalarTest = ContextTest;

TEST_F(ScalarTest, IntervalsKeepTheirBoundsAndKind)
{
    zif_object *lower = integer(0);
    zif_object *upper = fract(10, 0, 1);
    zif_object *iv = interval(ZIF_INTERVAL_IE, lower, upper);
    ASSERT_NE(iv, nullptr);
    EXPECT_EQ(zif_intervalGetType(iv), ZIF_INTERVAL_IE);
    EXPECT_EQ(own(zif_intervalGetLowerBound(iv)), lower);
    EXPECT_EQ(own(zif_intervalGetUpperBound(iv)), upper);

    zif_object *open = interval(ZIF_INTERVAL_EE, nullptr, nullptr);
    EXPECT_EQ(zif_intervalGetLowerBound(open), nullptr);

    for (int32_t kind : {4, -1}) {
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_newInterval(ctx, kind, lower, upper), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_newInterval(ctx, 0, text("a"), upper), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(ScalarTest, StringsCopyTheirText)
{
    char buffer[] = "hello";
    zif_object *s = text(buffer);
    buffer[0] = 'j';
    EXPECT_STREQ(zif_stringGetValue(s), "hello");
    EXPECT_STREQ(zif_stringGetValue(own(zif_newStringN(ctx, "abcdef", 3))), "abc");
    EXPECT_STREQ(zif_stringGetValue(own(zif_newStringN(ctx, "abcdef", -1))), "abcdef");
    EXPECT_EQ(zif_stringGetValue(nullptr), nullptr);
    EXPECT_EQ(zif_newStringN(ctx, "abc", -2), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(ScalarTest, StringToUtf16)
{
    zif_char16 *wide = zif_stringToUTF16(text("a\xe2\x82\xac"));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide[0], u'a');
    EXPECT_EQ(wide[1], 0x20AC);
    EXPECT_EQ(wide[2], 0);
    zif_free(ctx, wide);
}

TEST_F(ScalarTest, StringToCodePageFollowsTheLocaleCharset)
{
    const char *saved = std::getenv("LC_ALL");
    std::string restore = saved ? saved : "";

    setenv("LC_ALL", "C.UTF-8", 1);
    char *utf8 = zif_stringToCP(text("caf\xc3\xa9"));
    ASSERT_NE(utf8, nullptr);
    EXPECT_STREQ(utf8, "caf\xc3\xa9");
    zif_free(ctx, utf8);

    setenv("LC_ALL", "C", 1);
    char *ascii = zif_stringToCP(text("plain"));
    ASSERT_NE(ascii, nullptr);
    EXPECT_STREQ(ascii, "plain");
    zif_free(ctx, ascii);
    EXPECT_EQ(zif_stringToCP(text("caf\xc3\xa9")), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_CONVERSION);

    if (saved)
        setenv("LC_ALL", restore.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

TEST_F(ScalarTest, DataBuffersGrowShrinkAndStayAligned)
{
    zif_object *d = own(zif_newData(ctx, 5));
    ASSERT_NE(d, nullptr);
    std::memcpy(zif_dataGetWritePtr(d), "abcde", 5);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(zif_dataGetReadPtr(d)) % 16, 0u);

    ASSERT_TRUE(zif_dataAlloc(d, 3));  // shrink keeps the first bytes
    EXPECT_EQ(zif_dataGetSize(d), 3);
    EXPECT_EQ(zif_dataGetAllocated(d), 3);
    EXPECT_EQ(std::memcmp(zif_dataGetReadPtr(d), "abc", 3), 0);

    ASSERT_TRUE(zif_dataSetSize(d, 40));  // growing keeps them too
    EXPECT_EQ(zif_dataGetSize(d), 40);
    EXPECT_GE(zif_dataGetAllocated(d), 40);
    EXPECT_EQ(std::memcmp(zif_dataGetReadPtr(d), "abc", 3), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(zif_dataGetReadPtr(d)) % 16, 0u);

    ASSERT_TRUE(zif_dataEnsureAllocated(d, 10));  // already enough: unchanged
    EXPECT_EQ(zif_dataGetAllocated(d), 40);

    ASSERT_TRUE(zif_dataSetContents(d, "0123456789", 10));
    EXPECT_EQ(zif_dataGetSize(d), 10);
    EXPECT_EQ(std::memcmp(zif_dataGetReadPtr(d), "0123456789", 10), 0);

    ASSERT_TRUE(zif_dataClear(d));
    EXPECT_EQ(zif_dataGetSize(d), 0);
    EXPECT_EQ(zif_dataGetAllocated(d), 40);

    ASSERT_TRUE(zif_dataAlloc(d, 0));
    EXPECT_EQ(zif_dataGetReadPtr(d), nullptr);
}

TEST_F(ScalarTest, DataRejectsNegativeSizes)
{
    EXPECT_EQ(zif_newData(ctx, -1), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    zif_object *d = own(zif_newData(ctx, 0));
    for (auto op : {zif_dataAlloc, zif_dataEnsureAllocated, zif_dataSetSize}) {
        zif_clearLastError(ctx);
        EXPECT_FALSE(op(d, -1));
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
    EXPECT_FALSE(zif_dataSetContents(d, "x", -1));
}

}  // namespace
