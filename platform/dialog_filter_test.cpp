#include "platform/dialog_filter.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogFilterTest, ConvertsProfileFiltersToQtFilters)
{
    struct Case {
        const char *profile, *qt;
    } cases[] = {
        {"VOB File (*.vob,*.VOB)|*.vob", "VOB File (*.vob,*.VOB) (*.[vV][oO][bB])"},
        {"Video|*.avi;*.MPG; *.mp4|All|*.*", "Video (*.[aA][vV][iI] *.[mM][pP][gG] *.[mM][pP]4);;All (*.*)"},
        {"VOB|*.vob;*.VOB", "VOB (*.[vV][oO][bB])"},
        {"Empty||Music|*.mp3|Dangling", "Music (*.[mM][pP]3)"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(vt::qtFileDialogFilter(c.profile), c.qt) << c.profile;
}

} // namespace
