#include "app/project/clip_record.h"

#include "app/common/project_reset.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace vt::project {
namespace {

std::unique_ptr<ClipRecord> clipNamed(const std::string &name, int32_t duration = 60)
{
    auto clip = std::make_unique<ClipRecord>();
    clip->fileName = name;
    StreamFacts facts;
    facts.duration = duration;
    facts.width = 640;
    facts.height = 480;
    facts.aspectCode = 3;
    clip->setStreamFacts(facts);
    return clip;
}

std::vector<std::string> names(const ClipRecordList &clips)
{
    std::vector<std::string> result;
    for (int i = 0; i < clips.count(); ++i)
        result.push_back(clips[i].fileName);
    return result;
}

TEST(ClipRecord, FactsSetDisplaySizeAndTimes)
{
    auto clip = clipNamed("a.avi", 120);
    EXPECT_TRUE(clip->interlaced);
    EXPECT_EQ(clip->displayWidth, 640);
    EXPECT_EQ(clip->displayHeight, 360);
    EXPECT_NEAR(clip->displayAspect, 16.0 / 9.0, 0.01);
    EXPECT_EQ(clip->start, 0);
    EXPECT_EQ(clip->end, 120);
    EXPECT_TRUE(clip->letterbox);

    clip->setSnapshot(QImage(640, 480, QImage::Format_RGB888));
    EXPECT_EQ(clip->snapshot.size(), QSize(640, 360));
    EXPECT_EQ(clip->preview.size(), QSize(296, 168));
    EXPECT_EQ(clip->previewWidth, 296);
    EXPECT_EQ(clip->previewHeight, 168);
}

TEST(ClipRecord, SubtitleFileEnablesWhenMissing)
{
    auto clip = clipNamed("a.avi");
    const std::string srt = (std::filesystem::temp_directory_path() / "vt_clip_record_test.srt").string();
    std::ofstream(srt) << "1\n00:00:01,000 --> 00:00:02,000\nHi\n";
    clip->setSubtitleFile(srt);
    EXPECT_TRUE(clip->subtitleShown());
    clip->subtitleEnabled = false;
    clip->setSubtitleFile(srt);
    EXPECT_FALSE(clip->subtitleShown());  // an existing disabled file stays disabled
    std::filesystem::remove(srt);
    clip->setSubtitleFile(srt);
    EXPECT_TRUE(clip->subtitleEnabled);
    EXPECT_FALSE(clip->subtitleShown());
}

TEST(ClipRecordList, ReorderAndRemove)
{
    ClipRecordList clips;
    for (const char *name : {"a", "b", "c", "d"})
        clips.append(clipNamed(name));
    EXPECT_EQ(clips.moveUp(0), 0);
    EXPECT_EQ(clips.moveDown(3), 3);
    EXPECT_EQ(names(clips), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(clips.moveUp(2), 1);
    EXPECT_EQ(names(clips), (std::vector<std::string>{"a", "c", "b", "d"}));
    EXPECT_EQ(clips.moveToTop(3), 0);
    EXPECT_EQ(names(clips), (std::vector<std::string>{"d", "a", "c", "b"}));
    EXPECT_EQ(clips.moveToBottom(0), 3);
    EXPECT_EQ(names(clips), (std::vector<std::string>{"a", "c", "b", "d"}));
    clips.removeAt(1);
    EXPECT_EQ(names(clips), (std::vector<std::string>{"a", "b", "d"}));
    clips[0].setTimes(10, 40);
    EXPECT_EQ(clips.totalSeconds(), 30 + 60 + 60);
}

TEST(ClipRecordList, ClearingTheProjectEmptiesTheProgramList)
{
    programClips().append(clipNamed("x"));
    common::ClearProject();
    EXPECT_TRUE(programClips().empty());
}

} // namespace
} // namespace vt::project
