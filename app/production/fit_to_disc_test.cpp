#include "app/production/fit_to_disc.h"

#include "app/project/clip_record.h"

#include <gtest/gtest.h>

namespace vt::production {
namespace {

project::ClipRecordList clipsOf(std::initializer_list<int> seconds, bool chapters = false)
{
    project::ClipRecordList clips;
    for (int duration : seconds) {
        auto clip = std::make_unique<project::ClipRecord>();
        project::StreamFacts facts;
        facts.duration = duration;
        clip->setStreamFacts(facts);
        if (chapters)
            clip->chapters = project::TSubChapter::fromTimes({0});
        clips.append(std::move(clip));
    }
    return clips;
}

ProductionParams fitParams(int64_t capacityKB)
{
    RunChoices choices;
    choices.qualityIndex = 1;
    choices.fitToDisc = true;
    choices.discCapacityKB = capacityKB;
    choices.menuSeconds = 30;
    return MakeProductionParams(choices);
}

TEST(FitToDisc, TheFittedBitrateReplacesTheQualitysOrTheRunIsRefused)
{
    const project::ClipRecordList minute = clipsOf({30, 30});
    ProductionParams fitted = fitParams(40 * 1024);
    const FitOutcome fits = FitBitrateToDisc(fitted, minute, {});
    EXPECT_TRUE(fits.fits);
    EXPECT_GT(std::stoi(fitted.VideoBitrate), 4000);
    EXPECT_LT(std::stoi(fitted.VideoBitrate), 6000);
    EXPECT_EQ(fits.message.rfind("Fit to disc: video at " + fitted.VideoBitrate + " kbit/s", 0), 0u) << fits.message;

    ProductionParams small = fitParams(2 * 1024);
    const FitOutcome refused = FitBitrateToDisc(small, minute, {});
    EXPECT_FALSE(refused.fits);
    EXPECT_EQ(small.VideoBitrate, "3000");  // untouched
    EXPECT_NE(refused.message.find("does not fit the disc: 00:01:00 of video"), std::string::npos) << refused.message;

    ProductionParams off = fitParams(2 * 1024);
    off.FitToDisc = false;
    const FitOutcome ignored = FitBitrateToDisc(off, minute, {});
    EXPECT_TRUE(ignored.fits);
    EXPECT_EQ(ignored.message, "");
    EXPECT_EQ(off.VideoBitrate, "3000");
}

TEST(FitToDisc, MenusCountedAreTheOnesTheRunMakes)
{
    const project::ClipRecordList withChapters = clipsOf({10, 10, 10}, true);
    struct {
        bool titleMenu, chapterMenus;
        int64_t seconds;
    } const cases[] = {{false, false, 0}, {true, false, 5}, {false, true, 15}, {true, true, 20}};
    for (const auto &c : cases)
        EXPECT_EQ(MenuVobSeconds(withChapters, MenuFlags{c.titleMenu, c.chapterMenus}, 5), c.seconds);
    EXPECT_EQ(MenuVobSeconds(clipsOf({10, 10}), MenuFlags{true, true}, 5), 5);  // no chapter pages
}

} // namespace
} // namespace vt::production
