#include "app/project/chapter_list.h"

#include "app/common/ui_language.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

// The built-in texts, with no language file.
const vt::common::UiLanguage language {""};

using Times = std::vector<int32_t>;

TEST(ChapterList, PrepareSpreadsOnePerFiveMinutes)
{
    ChapterList list;
    list.prepare(100, 100 + 1500, {});
    EXPECT_EQ(list.times(), (Times{100, 400, 700, 1000, 1300}));
    EXPECT_EQ(list.autoSplitEntries(), (std::vector<std::string>{"2", "3", "4", "5", "6"}));
    EXPECT_EQ(list.autoSplitSelection(), 3);  // "5"

    list.prepare(0, 90, {});
    EXPECT_EQ(list.times(), (Times{0, 45}));
    EXPECT_EQ(list.autoSplitEntries(), (std::vector<std::string>{"2"}));

    list.prepare(0, 7200, {});
    EXPECT_EQ(list.count(), 12);

    list.prepare(30, 900, {30, 330});
    EXPECT_EQ(list.times(), (Times{30, 330}));
}

TEST(ChapterList, InsertChecksInOrder)
{
    ChapterList list;
    list.prepare(0, 90, {});
    EXPECT_EQ(list.insert(60), ChapterRefusal::None);
    EXPECT_EQ(list.times(), (Times{0, 45, 60}));
    EXPECT_EQ(list.insert(45), ChapterRefusal::SameTime);
    EXPECT_EQ(list.insert(91), ChapterRefusal::TimeOutside);
    EXPECT_EQ(list.insert(90), ChapterRefusal::TimeOutside);  // a chapter at the very end is empty
    EXPECT_EQ(list.times(), (Times{0, 45, 60}));

    list.prepare(0, 40, {});
    EXPECT_EQ(list.insert(10), ChapterRefusal::ClipTooShort);

    list.prepare(0, 7200, {});
    EXPECT_EQ(list.insert(99999), ChapterRefusal::MaxCount);  // reported before the time check
}

TEST(ChapterList, ModifyAndDeleteByIndex)
{
    ChapterList list;
    list.prepare(0, 900, {0, 300, 600});
    EXPECT_EQ(list.modify(0, 100), ChapterRefusal::FirstChapter);
    EXPECT_EQ(list.modify(2, 900), ChapterRefusal::TimeOutside);
    EXPECT_EQ(list.modify(2, 300), ChapterRefusal::SameTime);
    EXPECT_EQ(list.modify(2, 100), ChapterRefusal::None);
    EXPECT_EQ(list.times(), (Times{0, 100, 300}));

    EXPECT_EQ(list.removeAt(0), ChapterRefusal::DeleteFirst);
    EXPECT_EQ(list.removeAt(1), ChapterRefusal::None);
    EXPECT_EQ(list.times(), (Times{0, 300}));
    EXPECT_EQ(list.removeAt(5), ChapterRefusal::DeleteFirst);
}

TEST(ChapterList, AutoSplitAndSpinBoxes)
{
    ChapterList list;
    list.prepare(10, 1510, {});
    list.autoSplit(1);
    EXPECT_EQ(list.times(), (Times{10, 510, 1010}));

    int h = 0, m = 0, s = 0;
    ChapterList::splitTime(90061, h, m, s);  // 25:01:01
    EXPECT_EQ(h, 1);
    EXPECT_EQ(m, 1);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(ChapterList::typedTime(1, 2, 3), 3723);
}

TEST(ChapterList, RefusalTexts)
{
    EXPECT_EQ(ChapterRefusalText(language, ChapterRefusal::MaxCount), "Excceeding MAX chapter count!");
    EXPECT_EQ(ChapterRefusalText(language, ChapterRefusal::DeleteFirst), "Can not delete chapter 1");
    EXPECT_EQ(ChapterRefusalText(language, ChapterRefusal::ClipTooShort),
              "To add chapter, the clip duration must larger than one minute!");
    EXPECT_EQ(ChapterRefusalText(language, ChapterRefusal::None), "");
}

} // namespace
} // namespace vt::project
