#include "app/production/fit_to_disc.h"

#include "app/project/clip_record.h"

#include <gtest/gtest.h>

namespace vt::production {
namespace {

project::ClipRecordList clipsOf(std::initializer_list<int> seconds)
{
    project::ClipRecordList clips;
    for (int duration : seconds) {
        auto clip = std::make_unique<project::ClipRecord>();
        project::StreamFacts facts;
        facts.duration = duration;
        clip->setStreamFacts(facts);
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
    const FitOutcome fits = FitBitrateToDisc(fitted, minute, nullptr);
    EXPECT_TRUE(fits.fits);
    EXPECT_GT(std::stoi(fitted.VideoBitrate), 4000);
    EXPECT_LT(std::stoi(fitted.VideoBitrate), 6000);
    EXPECT_EQ(fits.message.rfind("Fit to disc: video at " + fitted.VideoBitrate + " kbit/s", 0), 0u) << fits.message;

    ProductionParams small = fitParams(2 * 1024);
    const FitOutcome refused = FitBitrateToDisc(small, minute, nullptr);
    EXPECT_FALSE(refused.fits);
    EXPECT_EQ(small.VideoBitrate, "3000");  // untouched
    EXPECT_NE(refused.message.find("does not fit the disc: 00:01:00 of video"), std::string::npos) << refused.message;

    ProductionParams off = fitParams(2 * 1024);
    off.FitToDisc = false;
    const FitOutcome ignored = FitBitrateToDisc(off, minute, nullptr);
    EXPECT_TRUE(ignored.fits);
    EXPECT_EQ(ignored.message, "");
    EXPECT_EQ(off.VideoBitrate, "3000");
}

TEST(FitToDisc, MenusCountedAreTheOnesTheRunMakes)
{
    // Three clips, each with a chapter page; the title menu is made when a
    // clip has a button on it.
    struct {
        bool titleButton, chapterMenus;
        int64_t seconds;
    } const cases[] = {{false, false, 0}, {true, false, 5}, {false, true, 15}, {true, true, 20}};
    for (const auto &c : cases) {
        DiscMenus menus;
        menus.chapterMenusEnabled = c.chapterMenus;
        menus.titleButtons.resize(3);
        menus.chapterPages.assign(3, MenuPage {});
        if (c.titleButton)
            menus.titleButtons[1] = MenuButton {};
        EXPECT_EQ(MenuVobSeconds(&menus, 5), c.seconds);
    }
    DiscMenus noChapterPages;
    noChapterPages.chapterMenusEnabled = true;
    noChapterPages.titleButtons.assign(2, MenuButton {});
    noChapterPages.chapterPages.resize(2);
    EXPECT_EQ(MenuVobSeconds(&noChapterPages, 5), 5);
    EXPECT_EQ(MenuVobSeconds(nullptr, 5), 0);
}

} // namespace
} // namespace vt::production
