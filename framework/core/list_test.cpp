#include "framework/core/test_context.h"

#include <vector>

namespace {

class ListTest : public ContextTest {
protected:
    std::vector<int64_t> contents(zif_object *list)
    {
        std::vector<int64_t> out;
        zif_list_link *p = zif_listBegin(list);
        while (p != zif_listEnd(list)) {
            zif_object *o = zif_listNext(list, &p);
            out.push_back(o ? zif_intGetValue(o) : -999);
            zif_release(o);
        }
        return out;
    }
};

TEST_F(ListTest, InsertAddRemoveKeepOrder)
{
    zif_object *list = own(zif_newList(ctx));
    EXPECT_EQ(zif_listBegin(list), zif_listEnd(list));
    zif_listAddInt(list, 1);
    zif_list_link *three = zif_listAddInt(list, 3);
    ASSERT_NE(zif_listInsert(list, three, own(zif_newInt(ctx, 2))), nullptr);
    ASSERT_NE(zif_listInsert(list, zif_listBegin(list), own(zif_newInt(ctx, 0))), nullptr);
    EXPECT_EQ(contents(list), (std::vector<int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(zif_listGetEntryCount(list), 4);

    zif_list_link *after = zif_listRemove(list, three);
    EXPECT_EQ(after, zif_listEnd(list));
    zif_object *first = zif_listRemoveFirst(list);
    EXPECT_EQ(zif_intGetValue(first), 0);
    zif_release(first);
    EXPECT_EQ(contents(list), (std::vector<int64_t>{1, 2}));

    ASSERT_TRUE(zif_listSet(list, zif_listBegin(list), own(zif_newInt(ctx, 7))));
    zif_object *got = zif_listGet(list, zif_listBegin(list));
    EXPECT_EQ(zif_intGetValue(got), 7);
    zif_release(got);

    ASSERT_TRUE(zif_listClear(list));
    EXPECT_EQ(zif_listGetEntryCount(list), 0);
}

TEST_F(ListTest, StoringAddsAReferenceAndRemovingDropsIt)
{
    zif_object *list = own(zif_newList(ctx));
    zif_object *v = zif_newInt(ctx, 5);
    zif_listAdd(list, v);
    EXPECT_EQ(zif_release(zif_addRef(v)), 2);
    zif_listRemove(list, zif_listBegin(list));
    EXPECT_EQ(zif_release(v), 0);
}

TEST_F(ListTest, NullEntriesAreAllowed)
{
    zif_object *list = own(zif_newList(ctx));
    ASSERT_NE(zif_listAdd(list, nullptr), nullptr);
    zif_list_link *p = zif_listBegin(list);
    EXPECT_EQ(zif_listNext(list, &p), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), 0);
    EXPECT_EQ(p, zif_listEnd(list));
}

TEST_F(ListTest, MaximumEntryCount)
{
    zif_object *list = own(zif_newList(ctx));
    EXPECT_EQ(zif_listGetMaxEntryCount(list), -1);
    EXPECT_TRUE(zif_listHasFreeSlots(list, 1000));
    ASSERT_TRUE(zif_listSetMaxEntryCount(list, 2));
    EXPECT_NE(zif_listAddInt(list, 1), nullptr);
    EXPECT_TRUE(zif_listHasFreeSlots(list, 1));
    EXPECT_NE(zif_listAddInt(list, 2), nullptr);
    EXPECT_EQ(zif_listAddInt(list, 3), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_LIST_FULL);
    EXPECT_FALSE(zif_listHasFreeSlots(list, 1));
    EXPECT_TRUE(zif_listHasFreeSlots(list, 0));

    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_listSetMaxEntryCount(list, -2));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);

    ASSERT_TRUE(zif_listSetMaxEntryCount(list, 0));  // keeps what is there
    EXPECT_EQ(zif_listGetEntryCount(list), 2);
    EXPECT_EQ(zif_listInsert(list, zif_listBegin(list), nullptr), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_LIST_FULL);
}

TEST_F(ListTest, SentinelsAndEmptyListsAreRefused)
{
    zif_object *list = own(zif_newList(ctx));
    EXPECT_EQ(zif_listRemoveFirst(list), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_LIST_EMPTY);

    zif_list_link *end = zif_listEnd(list);
    struct {
        const char *what;
        bool refused;
    } cases[] = {
        {"next on end", zif_listNext(list, &end) == nullptr},
        {"next with null", zif_listNext(list, nullptr) == nullptr},
        {"get on end", zif_listGet(list, zif_listEnd(list)) == nullptr},
        {"set on end", !zif_listSet(list, zif_listEnd(list), nullptr)},
        {"remove end", zif_listRemove(list, zif_listEnd(list)) == nullptr},
        {"remove null", zif_listRemove(list, nullptr) == nullptr},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(c.refused) << c.what;
    }
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(ListTest, ListOperationsCheckTheirArgument)
{
    zif_object *table = own(zif_newTable(ctx));
    EXPECT_EQ(zif_listAddInt(table, 1), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRONG_TYPE);
    EXPECT_EQ(zif_listGetEntryCount(nullptr), 0);
}

TEST_F(ListTest, GenericIteratorOverLogEntries)
{
    zif_object *log = own(zif_newLog(ctx));
    zif_logAddEntry(log, 1, "s", "one");
    zif_logAddEntry(log, 1, "s", "two");
    zif_object *it = own(zif_logGetEntries(log));
    std::vector<std::string> seen;
    while (zif_object *entry = zif_iteratorNext(it)) {
        zif_object *message = zif_logEntryGetMessage(entry);
        seen.push_back(zif_stringGetValue(message));
        zif_release(message);
        zif_release(entry);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(zif_iteratorNext(it), nullptr);
}

}  // namespace
