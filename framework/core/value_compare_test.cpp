#include "framework/core/test_context.h"

#include <cmath>

namespace {

class CompareTest : public ContextTest {
protected:
    zif_object *data(const char *bytes, int32_t size)
    {
        zif_object *d = own(zif_newData(ctx, 0));
        zif_dataSetContents(d, bytes, size);
        return d;
    }
    zif_object *table(const char *key, int64_t value)
    {
        zif_object *t = own(zif_newTable(ctx));
        zif_tableSetInt(t, key, value);
        return t;
    }
    zif_object *list(std::initializer_list<int64_t> values)
    {
        zif_object *l = own(zif_newList(ctx));
        for (int64_t v : values)
            zif_listAddInt(l, v);
        return l;
    }
};

TEST_F(CompareTest, OrderAcrossKinds)
{
    struct Case {
        const char *what;
        zif_object *a, *b;
        int32_t expected;
    } cases[] = {
        {"int = double", integer(2), real(2.0), 0},
        {"int < fract", integer(1), fract(1, 1, 2), -1},
        {"fract > int", fract(1, 1, 2), integer(1), 1},
        {"fract = int", fract(3, 0, 1), integer(3), 0},
        {"-1/2 < 0", fract(0, -1, 2), integer(0), -1},
        {"-1/2 < -1/3", fract(0, -1, 2), fract(0, -1, 3), -1},
        {"-3/2 < -1/2", fract(-1, -1, 2), fract(0, -1, 2), -1},
        {"-1/3 > -1/2", fract(0, -1, 3), fract(0, -1, 2), 1},
        {"1/3 < 1/2", fract(0, 1, 3), fract(0, 1, 2), -1},
        {"fract < double", fract(0, 1, 3), real(0.34), -1},
        {"NaN compares as 0", real(NAN), integer(1), 0},
        {"strings", text("abc"), text("abd"), -1},
        {"strings unsigned", text("\xc3"), text("a"), 1},
        {"strings equal", text("x"), text("x"), 0},
        {"int vs string", integer(1), text("1"), -2},
        {"data size first", data("zz", 2), data("aaa", 3), -1},
        {"data bytes unsigned", data("\x80", 1), data("\x01", 1), 1},
        {"intervals equal bounds", interval(ZIF_INTERVAL_II, integer(0), integer(1)),
         interval(ZIF_INTERVAL_EE, integer(0), integer(1)), 0},
        {"intervals differ", interval(0, integer(0), integer(1)), interval(0, integer(0), integer(2)), -2},
        {"equal tables", table("a", 1), table("a", 1), 0},
        {"different tables", table("a", 1), table("a", 2), -2},
        {"equal lists", list({1, 2}), list({1, 2}), 0},
        {"table vs list", table("a", 1), list({1}), -2},
        {"both null", nullptr, nullptr, 0},
        {"one null", integer(1), nullptr, -2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(zif_valueCompare(c.a, c.b), c.expected) << c.what;
}

TEST_F(CompareTest, Equality)
{
    struct Case {
        const char *what;
        zif_object *a, *b;
        bool expected;
    } cases[] = {
        {"fract = double", fract(0, 1, 2), real(0.5), true},
        {"int = fract", integer(1), fract(1, 0, 1), true},
        {"int != fract", integer(1), fract(1, 1, 2), false},
        {"int = double", integer(3), real(3.0), true},
        {"NaN never equal", real(NAN), real(NAN), false},
        {"interval kinds ignored", interval(ZIF_INTERVAL_II, integer(0), integer(1)),
         interval(ZIF_INTERVAL_EE, integer(0), integer(1)), true},
        {"open intervals", interval(0, nullptr, integer(1)), interval(0, nullptr, integer(1)), true},
        {"data bytes differ", data("ab", 2), data("ac", 2), false},
        {"lists in order", list({1, 2}), list({2, 1}), false},
        {"lists by length", list({1}), list({1, 1}), false},
        {"number vs string", integer(1), text("1"), false},
        {"null vs null", nullptr, nullptr, true},
        {"null vs value", nullptr, integer(0), false},
        {"value vs null", integer(0), nullptr, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(zif_valueEquals(c.a, c.b), c.expected) << c.what;

    zif_object *big = own(zif_newData(ctx, 64));
    zif_dataSetContents(big, "ab", 2);
    EXPECT_TRUE(zif_valueEquals(data("ab", 2), big));
}

TEST_F(CompareTest, TablesWithDifferentKeysAreUnequalWithoutAnError)
{
    zif_object *a = table("a", 1);
    zif_object *b = table("b", 1);
    EXPECT_FALSE(zif_valueEquals(a, b));
    EXPECT_EQ(zif_getLastError(ctx), 0);
    zif_tableSet(a, "b", nullptr);
    zif_tableSet(b, "a", nullptr);
    EXPECT_FALSE(zif_valueEquals(a, b));
    EXPECT_EQ(zif_getLastError(ctx), 0);
}

class CloneTest : public CompareTest {};

TEST_F(CloneTest, ClonesAreDeepEqualAndUnlocked)
{
    zif_object *t = own(zif_newTable(ctx));
    zif_tableSetInt(t, "i", 1);
    zif_tableSetDouble(t, "d", 1.5);
    zif_tableSetFract(t, "f", 0, -1, 2);
    zif_tableSetString(t, "s", "x");
    zif_tableSet(t, "iv", interval(ZIF_INTERVAL_IE, integer(0), nullptr));
    zif_tableSet(t, "l", list({1, 2}));
    zif_object *bytes = own(zif_newData(ctx, 32));
    zif_dataSetContents(bytes, "abc", 3);
    zif_tableSet(t, "data", bytes);

    zif_object *clone = nullptr;
    ASSERT_TRUE(zif_valueClone(t, &clone));
    own(clone);
    EXPECT_NE(clone, t);
    EXPECT_TRUE(zif_valueEquals(clone, t));
    EXPECT_TRUE(zif_valueEquals(t, clone));

    zif_object *clonedData = own(zif_tableGet(clone, "data"));
    EXPECT_NE(clonedData, bytes);
    EXPECT_EQ(zif_dataGetAllocated(clonedData), 32);
    EXPECT_EQ(zif_dataGetSize(clonedData), 3);
    zif_object *clonedInterval = own(zif_tableGet(clone, "iv"));
    EXPECT_EQ(zif_intervalGetType(clonedInterval), ZIF_INTERVAL_IE);
    EXPECT_EQ(zif_intervalGetUpperBound(clonedInterval), nullptr);
    zif_object *lowerClone = own(zif_intervalGetLowerBound(clonedInterval));
    EXPECT_EQ(zif_intGetValue(lowerClone), 0);
}

TEST_F(CloneTest, NullEntriesAndElements)
{
    zif_object *t = table("a", 1);
    zif_tableSet(t, "empty", nullptr);
    zif_object *clone = nullptr;
    ASSERT_TRUE(zif_valueClone(t, &clone));
    own(clone);
    EXPECT_TRUE(zif_tableContains(clone, "a"));
    EXPECT_FALSE(zif_tableContains(clone, "empty"));

    zif_object *l = list({1});
    zif_listAdd(l, nullptr);
    zif_object *listClone = integer(0);
    EXPECT_FALSE(zif_valueClone(l, &listClone));
    EXPECT_EQ(listClone, nullptr);

    zif_object *log = own(zif_newLog(ctx));
    EXPECT_FALSE(zif_valueClone(log, &listClone));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

}  // namespace
