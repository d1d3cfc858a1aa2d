#include "app/shell/int_sort.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

TEST(IntSortTest, SortsTheGivenRangeOnly)
{
    std::vector<int> v {9, 5, 3, 8, 1, 0};
    vt::shell::IntSort(v.data(), 1, 4);
    EXPECT_EQ(v, (std::vector<int> {9, 1, 3, 5, 8, 0}));
    vt::shell::IntSort(v.data(), 3, 3);
    vt::shell::IntSort(v.data(), 4, 2);
    vt::shell::IntSort(v.data(), -1, 2);
    EXPECT_EQ(v, (std::vector<int> {9, 1, 3, 5, 8, 0}));
}

TEST(IntSortTest, SortedAndLargeInputsDoNotExhaustTheStack)
{
    std::vector<int> v(1000000);
    std::iota(v.begin(), v.end(), 0);
    vt::shell::IntSort(v.data(), 0, static_cast<int>(v.size()) - 1);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
    std::reverse(v.begin(), v.end());
    vt::shell::IntSort(v.data(), 0, static_cast<int>(v.size()) - 1);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
}

} // namespace
