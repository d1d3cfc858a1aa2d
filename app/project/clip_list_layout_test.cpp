#include "app/project/clip_list_layout.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

TEST(ClipListLayout, PanelScrollsByWholeEntries)
{
    EXPECT_EQ(ListPanelTop(6, 332), -77);
    EXPECT_EQ(ListPanelTop(6, 331), 0);
    EXPECT_EQ(ListPanelTop(5, 332), 0);
    EXPECT_EQ(ListPanelTop(12, 166), -3 * 77);
    EXPECT_EQ(ListPanelTop(12, 999), -7 * 77);
    EXPECT_EQ(ListEntryTop(3), 231);
}

TEST(ClipListLayout, SelectionAfterRemoval)
{
    EXPECT_EQ(SelectionAfterRemoval(4, 4), 3);  // the last of five removed: the new last
    EXPECT_EQ(SelectionAfterRemoval(1, 4), 1);  // the next clip moved up into its place
    EXPECT_EQ(SelectionAfterRemoval(0, 0), -1);
}

} // namespace
} // namespace vt::project
