#include "framework/core/test_context.h"
#include "framework/core/value.h"

namespace {

// A table {"inner": {"n": 1}, "list": [{"m": 2}]} and handles on its parts.
class LockTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        outer = own(zif_newTable(ctx));
        inner = own(zif_newTable(ctx));
        list = own(zif_newList(ctx));
        element = own(zif_newTable(ctx));
        zif_tableSetInt(inner, "n", 1);
        zif_tableSetInt(element, "m", 2);
        zif_listAdd(list, element);
        zif_tableSet(outer, "inner", inner);
        zif_tableSet(outer, "list", list);
    }

    int32_t inherited(zif_object *v) { return zif::asValueRecord(v)->inheritedLocks; }

    zif_object *outer, *inner, *list, *element;
};

TEST_F(LockTest, LockingATableLocksEverythingNestedInIt)
{
    zif::valueLock(outer);
    for (zif_object *v : {outer, inner, list, element})
        EXPECT_TRUE(zif_valueIsLocked(v));
    EXPECT_FALSE(zif_tableSetInt(outer, "x", 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_LOCKED);
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_tableSetInt(element, "x", 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_LOCKED);
    EXPECT_EQ(zif_listAddInt(list, 1), nullptr);
}

TEST_F(LockTest, LockingAListDirectlyLeavesItsElementsAlone)
{
    zif::valueLock(list);
    EXPECT_TRUE(zif_valueIsLocked(list));
    EXPECT_FALSE(zif_valueIsLocked(element));
    EXPECT_TRUE(zif_tableSetInt(element, "x", 1));
}

TEST_F(LockTest, UnlockingClearsEveryLockTakenEvenWhenMovedTwice)
{
    zif_release(zif_addRef(outer));
    zif::valueLock(outer);
    zif::valueLock(outer);  // handed over twice
    EXPECT_EQ(inherited(inner), 2);
    EXPECT_EQ(inherited(element), 2);
    ASSERT_TRUE(zif_valueUnlock(outer));
    for (zif_object *v : {outer, inner, list, element}) {
        EXPECT_FALSE(zif_valueIsLocked(v));
        EXPECT_EQ(inherited(v), 0);
    }
    EXPECT_TRUE(zif_tableSetInt(inner, "x", 1));
}

TEST_F(LockTest, UnlockRefusesSharedOrInheritingValues)
{
    zif::valueLock(outer);
    EXPECT_FALSE(zif_valueUnlock(inner));  // inherits the lock
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_SHARED);
    zif_clearLastError(ctx);

    zif_object *extra = zif_addRef(outer);
    EXPECT_FALSE(zif_valueUnlock(outer));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_SHARED);
    EXPECT_TRUE(zif_valueIsLocked(outer));
    zif_release(extra);
    EXPECT_TRUE(zif_valueUnlock(nullptr));
}

TEST_F(LockTest, MakeModifiableCopiesWhatOthersMaySee)
{
    zif_object *mine = zif_addRef(inner);  // inner now has two holders
    zif_object *before = mine;
    ASSERT_TRUE(zif_valueMakeModifiable(&mine));
    EXPECT_NE(mine, before);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_SHARED);
    EXPECT_TRUE(zif_valueEquals(mine, inner));
    ASSERT_TRUE(zif_tableSetInt(mine, "n", 5));
    EXPECT_EQ(zif_tableGetInt(inner, "n", 0), 1);  // the shared one is untouched
    zif_release(mine);
}

TEST_F(LockTest, MakeModifiableCopiesAValueInsideALockedTable)
{
    zif_object *holder = zif_newTable(ctx);
    zif_object *mine = zif_newTable(ctx);
    zif_tableSetInt(mine, "n", 1);
    zif_tableSet(holder, "mine", mine);
    zif::valueLock(holder);
    zif_release(holder);  // gone: mine's inherited lock goes with it
    EXPECT_FALSE(zif_valueIsLocked(mine));

    holder = own(zif_newTable(ctx));
    zif_tableSet(holder, "mine", mine);
    zif::valueLock(holder);
    zif_release(mine);
    mine = zif_tableGet(holder, "mine");
    ASSERT_TRUE(zif_valueMakeModifiable(&mine));
    EXPECT_FALSE(zif_valueIsLocked(mine));
    EXPECT_TRUE(zif_tableSetInt(mine, "n", 9));
    EXPECT_EQ(zif_tableGetInt(own(zif_tableGet(holder, "mine")), "n", 0), 1);
    zif_release(mine);
}

TEST_F(LockTest, MakeModifiableKeepsASoleUnsharedValueAndUnlocksIt)
{
    zif_object *value = zif_newTable(ctx);
    zif_object *nested = own(zif_newTable(ctx));
    zif_tableSet(value, "nested", nested);
    zif::valueLock(value);
    zif::valueLock(value);
    zif_object *before = value;
    ASSERT_TRUE(zif_valueMakeModifiable(&value));
    EXPECT_EQ(value, before);
    EXPECT_FALSE(zif_valueIsLocked(value));
    EXPECT_FALSE(zif_valueIsLocked(nested));
    EXPECT_EQ(zif_getLastError(ctx), 0);
    zif_release(value);

    zif_object *none = nullptr;
    EXPECT_TRUE(zif_valueMakeModifiable(&none));
}

TEST_F(LockTest, RemovingFromAContainerKeepsOtherHoldersLocks)
{
    // inner sits in outer and in a second locked table.
    zif_object *second = own(zif_newTable(ctx));
    zif_tableSet(second, "inner", inner);
    zif::valueLock(second);
    zif::valueLock(outer);
    EXPECT_EQ(inherited(inner), 2);
    ASSERT_TRUE(zif_valueUnlock(outer));
    EXPECT_EQ(inherited(inner), 1);
    ASSERT_TRUE(zif_tableRemove(outer, "inner"));
    EXPECT_EQ(inherited(inner), 1);
    EXPECT_TRUE(zif_valueIsLocked(inner));
}

}  // namespace
