#include "app/menu/menu_design.h"

#include "app/project/clip_record.h"
#include "app/common/project_reset.h"

#include <gtest/gtest.h>

namespace vt::menu {
namespace {

std::unique_ptr<project::ClipRecord> clipOf(const char *file)
{
    auto clip = std::make_unique<project::ClipRecord>();
    clip->fileName = file;
    return clip;
}

TEST(MenuDesign, ClipRecordFollowsItsDesign)
{
    project::ClipRecordList clips;
    project::ClipRecord &clip = clips.append(clipOf("a.mp4"));
    MenuDesign design;
    ClipMenu &menu = design.menuFor(clip);
    EXPECT_EQ(&design.menuFor(clip), &menu);
    EXPECT_FALSE(design.titleMenuWanted(clips));

    menu.titleButton = std::make_unique<TitleButton>();
    menu.chapterPage = std::make_unique<ChapterPage>();
    for (int32_t t : {0, 30}) {
        ChapterButton button;
        button.chapterTime = t;
        menu.chapterPage->buttons.push_back(button);
    }
    menu.chapterPage->musicFile = "/m/tune.mp3";
    WriteToClipRecord(menu, clip);
    EXPECT_TRUE(design.titleMenuWanted(clips));
    EXPECT_TRUE(clip.hasTitleButton);
    ASSERT_TRUE(clip.chapters);
    EXPECT_EQ(clip.chapters->times(), (std::vector<int32_t>{0, 30}));
    EXPECT_EQ(clip.chapters->musicFile, "/m/tune.mp3");

    menu.titleButton.reset();
    menu.chapterPage.reset();
    WriteToClipRecord(menu, clip);
    EXPECT_FALSE(clip.hasTitleButton);
    EXPECT_FALSE(clip.chapters);
}

TEST(MenuDesign, DesignsOfRemovedOrReplacedClipsAreDropped)
{
    project::ClipRecordList clips;
    clips.append(clipOf("a.mp4"));
    clips.append(clipOf("b.mp4"));
    MenuDesign design;
    for (int i = 0; i < 2; ++i) {
        ClipMenu &menu = design.menuFor(clips[i]);
        menu.titleButton = std::make_unique<TitleButton>();
        WriteToClipRecord(menu, clips[i]);
    }
    const project::ClipRecord *second = &clips[1];
    clips.removeAt(0);
    design.dropMissingClips(clips);
    ASSERT_EQ(design.clips.size(), 1u);
    EXPECT_EQ(design.clips[0].clip, second);

    // A record that does not say it is on the title menu is not the clip
    // the design was made for.
    clips[0].hasTitleButton = false;
    design.dropMissingClips(clips);
    EXPECT_TRUE(design.clips.empty());
}

TEST(MenuDesign, TitleButtonPictureIsTheSnapshotAtSize)
{
    project::ClipRecord clip;
    clip.snapshot = QImage(64, 48, QImage::Format_RGB32);
    clip.snapshot.fill(Qt::green);
    ClipMenu menu{&clip, std::make_unique<TitleButton>(), nullptr};
    const QImage picture = menu.titleButtonPicture({116, 84});
    EXPECT_EQ(picture.size(), QSize(116, 84));
    EXPECT_EQ(picture.pixelColor(58, 42), QColor(Qt::green));
    EXPECT_EQ(menu.titleButton->pictureSize(), QSize(88, 62));
}

TEST(MenuDesign, ProjectResetClearsClipsAndMusicTitleTextsSeparately)
{
    MenuDesign &design = programMenuDesign();
    project::ClipRecord clip;
    design.menuFor(clip).titleButton = std::make_unique<TitleButton>();
    design.titlePage.musicFile = "tune.mp3";
    design.titlePage.backgroundFile = "back.jpg";
    TextItem welcome;
    welcome.text = "Welcome";
    design.titlePage.texts.push_back(welcome);

    common::ClearProject();
    EXPECT_TRUE(design.clips.empty());
    EXPECT_EQ(design.titlePage.musicFile, "");
    EXPECT_EQ(design.titlePage.backgroundFile, "back.jpg");
    EXPECT_EQ(design.titlePage.texts.size(), 1u);
    common::FreeTitleTexts();
    EXPECT_TRUE(design.titlePage.texts.empty());
}

} // namespace
} // namespace vt::menu
