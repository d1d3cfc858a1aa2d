#include "app/project/progress_count.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

TEST(ProgressCountTest, PercentAndBarWidthAfterSteps)
{
    struct Case {
        int total, steps, percent, bar;
    };
    for (const Case &c : {Case {3, 0, 0, 0}, Case {3, 1, 33, 85}, Case {3, 2, 66, 170}, Case {3, 3, 100, 258},
                          Case {3, 5, 100, 258}, Case {0, 1, 0, 0}, Case {200, 1, 0, 0}}) {
        ProgressCount progress;
        progress.start(c.total);
        for (int i = 0; i < c.steps; ++i)
            progress.step();
        EXPECT_EQ(progress.percent(), c.percent) << c.total << " " << c.steps;
        EXPECT_EQ(progress.barWidth(), c.bar) << c.total << " " << c.steps;
    }
}

TEST(ProgressCountTest, StartingAgainResetsTheCount)
{
    ProgressCount progress;
    progress.start(2);
    progress.step();
    progress.start(4);
    EXPECT_EQ(progress.count(), 0);
    EXPECT_EQ(progress.total(), 4);
}

} // namespace
} // namespace vt::project
