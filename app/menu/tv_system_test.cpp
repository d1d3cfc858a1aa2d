#include "app/menu/tv_system.h"

#include "app/project/clip_record.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

project::ClipRecordList clipsOf(std::initializer_list<std::tuple<const char *, int, float>> list)
{
    project::ClipRecordList clips;
    for (const auto &[file, height, rate] : list) {
        auto clip = std::make_unique<project::ClipRecord>();
        clip->vobFile = file;
        clip->height = height;
        clip->frameRate = rate;
        clips.append(std::move(clip));
    }
    return clips;
}

TEST(TvSystem, DecidedByPictureHeight)
{
    EXPECT_EQ(TvSystemOfHeight(480), TvSystem::Ntsc);
    EXPECT_EQ(TvSystemOfHeight(576), TvSystem::Pal);
    EXPECT_EQ(TvSystemOfHeight(240), TvSystem::Pal);

    // Film-rate NTSC is NTSC: one system, the check passes.
    EXPECT_TRUE(CheckTvSystems(clipsOf({{"a.vob", 480, 29.97f}, {"film.vob", 480, 23.976f}})).passes());
    EXPECT_TRUE(CheckTvSystems(clipsOf({{"a.vob", 576, 25.0f}})).passes());
    EXPECT_TRUE(CheckTvSystems(project::ClipRecordList()).passes());
}

TEST(TvSystem, MixedClipsAreListedByGroup)
{
    const TvSystemCheck check =
        CheckTvSystems(clipsOf({{"n1.vob", 480, 29.97f}, {"p1.vob", 576, 25.0f}, {"n2.vob", 480, 23.976f}}));
    EXPECT_FALSE(check.passes());
    EXPECT_EQ(check.message("NTSC:\n", "PAL:\n"), "NTSC:\nn1.vob\nn2.vob\nPAL:\np1.vob\n");
}

} // namespace
} // namespace vt::menu
