#include "framework/core/context.h"
#include "framework/core/test_context.h"

#include <string>

namespace {

using ContextBasics = ContextTest;

TEST_F(ContextBasics, IdsCountFromOne)
{
    EXPECT_EQ(zif_newID(ctx), 1u);
    EXPECT_EQ(zif_newID(ctx), 2u);
}

TEST_F(ContextBasics, LastErrorStaysUntilClearedOrReplaced)
{
    EXPECT_EQ(zif_getLastError(ctx), 0);
    EXPECT_EQ(zif_setLastError(ctx, 1234), 1234);
    integer(5);  // a success does not clear it
    EXPECT_EQ(zif_getLastError(ctx), 1234);
    EXPECT_EQ(zif_clearLastError(ctx), ctx);
    EXPECT_EQ(zif_getLastError(ctx), 0);
}

TEST_F(ContextBasics, TwoContextsAreIndependent)
{
    zif_context *other = nullptr;
    ASSERT_EQ(zif_create(&other), 0);
    EXPECT_EQ(zif_nameToKey(other, "b"), 0);
    EXPECT_EQ(zif_nameToKey(ctx, "a"), 0);
    zif_setLastError(other, 7);
    EXPECT_EQ(zif_getLastError(ctx), 0);
    EXPECT_EQ(zif_newID(other), 1u);
    zif_destroy(other);
}

TEST_F(ContextBasics, ContextComesWithItsLog)
{
    zif_object *log = zif_getLog(ctx);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(zif_objectGetType(log), ZIF_TYPE_LOG);
    zif_release(log);
}

TEST_F(ContextBasics, NameBucketsDoubleOnceEightNamesExist)
{
    for (int i = 0; i < 8; ++i)
        zif_nameToKey(ctx, ("n" + std::to_string(i)).c_str());
    EXPECT_EQ(ctx->bucketCount, 10);
    zif_nameToKey(ctx, "n0");  // known names change nothing
    EXPECT_EQ(ctx->bucketCount, 10);
    zif_nameToKey(ctx, "n8");
    EXPECT_EQ(ctx->bucketCount, 20);
}

TEST_F(ContextBasics, KeysAreStableDenseAndSurviveGrowth)
{
    // 40 names: the names array (10) and the buckets (10) both grow.
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(zif_nameToKey(ctx, ("name" + std::to_string(i)).c_str()), i);
    for (int i = 0; i < 40; ++i) {
        std::string name = "name" + std::to_string(i);
        EXPECT_EQ(zif_nameToKey(ctx, name.c_str()), i);
        EXPECT_EQ(std::string(zif_keyToName(ctx, i)), name);
    }
    // Bytes above 0x7F take part in the hash as signed values.
    int32_t accented = zif_nameToKey(ctx, "caf\xc3\xa9");
    EXPECT_EQ(accented, 40);
    EXPECT_EQ(zif_nameToKey(ctx, "caf\xc3\xa9"), 40);
}

TEST_F(ContextBasics, KeyToNameRejectsKeysOutsideTheTable)
{
    zif_nameToKey(ctx, "only");
    for (int32_t key : {1, -1}) {
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_keyToName(ctx, key), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
}

TEST_F(ContextBasics, ReferenceCounting)
{
    zif_object *v = zif_newInt(ctx, 1);
    EXPECT_EQ(zif_addRef(v), v);
    EXPECT_EQ(zif_release(v), 1);
    EXPECT_EQ(zif_objectGetType(v), ZIF_TYPE_INT);
    EXPECT_EQ(zif_release(v), 0);
    EXPECT_EQ(zif_release(nullptr), -1);
    EXPECT_EQ(zif_addRef(nullptr), nullptr);
}

TEST_F(ContextBasics, ObjectsCarryTheHeader)
{
    zif_object *v = integer(1);
    auto *bytes = reinterpret_cast<const unsigned char *>(v);
    EXPECT_EQ(bytes[0], 0x31);
    EXPECT_EQ(bytes[1], 0x97);
    EXPECT_EQ(bytes[2], 0xF2);
    EXPECT_EQ(bytes[3], 0xA0);
    EXPECT_EQ(zif_objectGetContext(v), ctx);

    unsigned char garbage[64] = {};
    auto *fake = reinterpret_cast<zif_object *>(garbage);
    EXPECT_EQ(zif_objectGetContext(fake), nullptr);
    EXPECT_EQ(zif_objectGetType(fake), 0);
    EXPECT_EQ(zif_objectIsValue(fake), 0);
    EXPECT_EQ(zif_release(fake), -1);
}

TEST_F(ContextBasics, KindPredicatesAndCasts)
{
    zif_object *list = own(zif_newList(ctx));
    zif_object *table = own(zif_newTable(ctx));
    zif_object *log = own(zif_newLog(ctx));
    EXPECT_TRUE(zif_objectIsValue(list));
    EXPECT_FALSE(zif_objectIsNumber(list));
    EXPECT_TRUE(zif_objectIsNumber(fract(0, 1, 2)));
    EXPECT_FALSE(zif_objectIsValue(log));

    EXPECT_EQ(zif_asTable(table), table);
    EXPECT_EQ(zif_asTable(list), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRONG_TYPE);
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_asTable(nullptr), nullptr);
    EXPECT_EQ(zif_asValue(log), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRONG_TYPE);

    struct Case {
        zif_object *value;
        zif_object *(*cast)(zif_object *);
    } cases[] = {{integer(1), zif_asInt},          {real(1), zif_asDouble},  {fract(1, 0, 1), zif_asFract},
                 {text("s"), zif_asString},        {own(zif_newData(ctx, 1)), zif_asData},
                 {interval(0, nullptr, nullptr), zif_asInterval}, {list, zif_asList}, {table, zif_asTable}};
    for (const Case &c : cases) {
        EXPECT_EQ(c.cast(c.value), c.value);
        EXPECT_EQ(zif_asValue(c.value), c.value);
    }
}

}  // namespace
