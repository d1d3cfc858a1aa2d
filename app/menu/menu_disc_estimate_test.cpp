#include "app/menu/menu_disc_estimate.h"

#include "app/project/clip_record.h"
#include "app/shell/settings.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

TEST(MenuDiscEstimate, CountsWholeClipsOnA640PixelBar)
{
    shell::Settings settings;
    settings.i_DiscSizePerMin = 600;
    settings.i_DVD5Size = 1200;
    settings.i_DVD9Size = 0;
    project::ClipInfo clips;
    auto clip = std::make_unique<project::TClipInfo>();
    clip->duration = 60;
    clip->setTimes(10, 20);  // the trim is not counted
    clips.append(std::move(clip));

    const project::DiscEstimate half = MenuDiscEstimate(clips, settings, project::DiscType::DVD5);
    EXPECT_EQ(half.estimateKB, 600);
    EXPECT_EQ(half.barWidth, 320);
    EXPECT_TRUE(half.withinLimit());

    clips[0].duration = 600;  // ten times the disc: the bar stops full
    const project::DiscEstimate over = MenuDiscEstimate(clips, settings, project::DiscType::DVD5);
    EXPECT_EQ(over.barWidth, 640);
    EXPECT_FALSE(over.withinLimit());

    EXPECT_EQ(MenuDiscEstimate(clips, settings, project::DiscType::DVD9).barWidth, 0);  // no capacity
}

} // namespace
} // namespace vt::menu
