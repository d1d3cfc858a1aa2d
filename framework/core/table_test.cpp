#include "framework/core/container.h"
#include "framework/core/test_context.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class TableTest : public ContextTest {
protected:
    // Interns "k0" ... "k<n-1>" so that key i is "k<i>".
    void internKeys(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(zif_nameToKey(ctx, ("k" + std::to_string(i)).c_str()), i);
    }

    std::vector<int32_t> order(zif_object *table)
    {
        std::vector<int32_t> keys;
        zif_object *it = zif_tableCreateIterator(table);
        for (int32_t k; (k = zif_tableIteratorNext(it)) != -1;)
            keys.push_back(k);
        zif_release(it);
        return keys;
    }
};

TEST_F(TableTest, SetGetContainsRemove)
{
    zif_object *t = own(zif_newTable(ctx));
    zif_object *v = integer(3);
    ASSERT_TRUE(zif_tableSet(t, "a", v));
    EXPECT_TRUE(zif_tableContains(t, "a"));
    zif_object *got = zif_tableGet(t, "a");
    EXPECT_EQ(got, v);
    zif_release(got);

    ASSERT_TRUE(zif_tableSet(t, "a", integer(4)));  // replaces
    EXPECT_EQ(zif_tableGetInt(t, "a", 0), 4);

    ASSERT_TRUE(zif_tableSet(t, "null", nullptr));
    EXPECT_TRUE(zif_tableContains(t, "null"));
    EXPECT_EQ(zif_tableGet(t, "null"), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), 0);

    EXPECT_EQ(zif_tableGet(t, "missing"), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_tableRemove(t, "missing"));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);

    ASSERT_TRUE(zif_tableRemove(t, "a"));
    EXPECT_FALSE(zif_tableContains(t, "a"));
    ASSERT_TRUE(zif_tableClear(t));
    EXPECT_FALSE(zif_tableContains(t, "null"));

    EXPECT_FALSE(zif_tableSetK(t, 12345, nullptr));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(TableTest, IterationFollowsBucketsAndNewestFirst)
{
    internKeys(21);
    zif_object *t = own(zif_newTable(ctx));
    EXPECT_EQ(order(t), std::vector<int32_t>{});
    for (int32_t k : {0, 10, 20, 1, 2, 3, 4, 5})
        zif_tableSetIntK(t, k, k);
    EXPECT_EQ(order(t), (std::vector<int32_t>{20, 10, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(zif::tableRecord(t)->bucketCount, 10);

    // With 8 entries the next set, even a replacement, doubles the buckets;
    // each chain is moved head first onto the heads of the new buckets.
    zif_tableSetIntK(t, 1, 100);
    EXPECT_EQ(zif::tableRecord(t)->bucketCount, 20);
    EXPECT_EQ(order(t), (std::vector<int32_t>{0, 20, 1, 2, 3, 4, 5, 10}));

    zif_object *it = own(zif_tableCreateIterator(t));
    EXPECT_EQ(zif_tableIteratorNext(it), 0);
    EXPECT_EQ(zif_tableIteratorNext(it), 20);
    EXPECT_EQ(zif_tableIteratorReset(it), it);
    EXPECT_EQ(zif_tableIteratorNext(it), 0);
}

TEST_F(TableTest, TypedGettersConvertOrFallBack)
{
    zif_object *t = own(zif_newTable(ctx));
    zif_tableSetDouble(t, "half", 2.5);
    zif_tableSetString(t, "name", "clip");
    zif_tableSetInt(t, "int", 7);
    zif_tableSetFract(t, "rate", 0, 30000, 1001);
    zif_tableSetData(t, "bytes", "xyz", 3);

    EXPECT_EQ(zif_tableGetInt(t, "half", 0), 3);
    EXPECT_EQ(zif_tableGetInt(t, "absent", 42), 42);
    EXPECT_EQ(zif_getLastError(ctx), 0);
    EXPECT_EQ(zif_tableGetInt(t, "name", 42), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    zif_clearLastError(ctx);

    EXPECT_DOUBLE_EQ(zif_tableGetDouble(t, "rate", 0), 30000.0 / 1001);
    EXPECT_EQ(zif_tableGetDouble(t, "int", 0), 7.0);
    EXPECT_EQ(zif_tableGetDouble(t, "name", -1), -1);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    zif_clearLastError(ctx);

    EXPECT_EQ(partsOf(own(zif_tableGetFract(t, "rate", nullptr))), (FractParts{29, 971, 1001}));
    zif_object *fallback = fract(1, 0, 1);
    EXPECT_EQ(own(zif_tableGetFract(t, "absent", fallback)), fallback);
    EXPECT_EQ(partsOf(own(zif_tableGetFract(t, "int", fallback))), (FractParts{7, 0, 1}));

    EXPECT_STREQ(zif_tableGetString(t, "name", "dflt"), "clip");
    EXPECT_STREQ(zif_tableGetString(t, "int", "dflt"), "dflt");
    EXPECT_EQ(zif_getLastError(ctx), 0);

    const uint8_t *bytes = nullptr;
    int32_t size = -1;
    ASSERT_TRUE(zif_tableGetData(t, "bytes", &bytes, &size, nullptr, 0));
    EXPECT_EQ(size, 3);
    EXPECT_EQ(std::memcmp(bytes, "xyz", 3), 0);
    const uint8_t dflt[] = {1};
    EXPECT_FALSE(zif_tableGetData(t, "absent", &bytes, &size, dflt, 1));
    EXPECT_EQ(bytes, dflt);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
    EXPECT_FALSE(zif_tableGetData(t, "name", &bytes, &size, dflt, 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRONG_TYPE);

    EXPECT_FALSE(zif_tableSetFract(t, "bad", 1, 1, 0));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    EXPECT_FALSE(zif_tableContains(t, "bad"));
}

TEST_F(TableTest, NestedTablesAndSharing)
{
    zif_object *outer = own(zif_newTable(ctx));
    zif_object *inner = own(zif_newTable(ctx));
    zif_object *fallback = own(zif_newTable(ctx));
    ASSERT_TRUE(zif_tableSetTable(outer, "inner", inner));
    EXPECT_EQ(own(zif_tableGetTable(outer, "inner", fallback)), inner);
    EXPECT_EQ(own(zif_tableGetTable(outer, "absent", fallback)), fallback);

    // A non-value is refused: error 4 and null stored.
    zif_object *log = own(zif_newLog(ctx));
    EXPECT_TRUE(zif_tableSetTable(outer, "log", log));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRONG_TYPE);
    EXPECT_TRUE(zif_tableContains(outer, "log"));
    EXPECT_EQ(zif_tableGet(outer, "log"), nullptr);

    zif_object *copy = own(zif_newTable(ctx));
    ASSERT_TRUE(zif_tableSetFromTable(copy, outer, "inner"));
    EXPECT_EQ(own(zif_tableGet(copy, "inner")), inner);  // the same object
    EXPECT_TRUE(zif_tableSetFromTable(copy, outer, "absent"));
    EXPECT_FALSE(zif_tableContains(copy, "absent"));
}

}  // namespace
