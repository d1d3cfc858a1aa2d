#include "framework/core/test_context.h"

namespace {

class ContainerCycleTest : public ContextTest {};

// Storing a container into itself, directly or through nested containers,
// fails with error 2 and leaves the container as it was.
TEST_F(ContainerCycleTest, SelfContainmentIsRefused)
{
    zif_object *table = own(zif_newTable(ctx));
    zif_object *list = own(zif_newList(ctx));
    zif_object *inner = own(zif_newTable(ctx));
    ASSERT_TRUE(zif_tableSet(table, "inner", inner));
    ASSERT_NE(zif_listAdd(list, table), nullptr);

    EXPECT_FALSE(zif_tableSet(table, "self", table));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    EXPECT_FALSE(zif_tableSet(inner, "outer", table));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    EXPECT_FALSE(zif_tableSet(inner, "list", list));
    EXPECT_EQ(zif_listAdd(list, list), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    EXPECT_FALSE(zif_listSet(list, zif_listBegin(list), list));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);

    EXPECT_FALSE(zif_tableContains(inner, "outer"));
    EXPECT_FALSE(zif_tableContains(table, "self"));
    EXPECT_EQ(zif_listGetEntryCount(list), 1);
    zif_object *xml = own(zif_valueToXMLString(table, 0));
    EXPECT_NE(xml, nullptr);
}

// The same value may sit in several places of one tree; that is sharing,
// not a cycle.
TEST_F(ContainerCycleTest, SharedEntriesAreAccepted)
{
    zif_object *table = own(zif_newTable(ctx));
    zif_object *shared = own(zif_newTable(ctx));
    zif_object *list = own(zif_newList(ctx));
    ASSERT_TRUE(zif_tableSet(table, "a", shared));
    ASSERT_TRUE(zif_tableSet(table, "b", shared));
    ASSERT_NE(zif_listAdd(list, shared), nullptr);
    EXPECT_TRUE(zif_tableSet(table, "c", list));
    EXPECT_TRUE(zif_tableSet(table, "a", nullptr));
}

}  // namespace
