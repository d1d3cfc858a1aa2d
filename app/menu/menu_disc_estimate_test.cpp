#include "app/menu/menu_disc_estimate.h"

#include "app/project/clip_record.h"
#include "app/common/settings.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

TEST(MenuDiscEstimate, CountsWholeClipsOnA640PixelBar)
{
    common::Settings settings;
    settings.discKBPerMinute = 600;
    settings.dvd5SizeKB = 1200;
    settings.dvd9SizeKB = 0;
    project::ClipRecordList clips;
    auto clip = std::make_unique<project::ClipRecord>();
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
