#include "app/project/chapter_list.h"

#include "app/project/clip_record.h"
#include "app/common/ui_language.h"

#include <algorithm>

namespace vt::project {

std::string ChapterRefusalText(ChapterRefusal refusal)
{
    switch (refusal) {
    case ChapterRefusal::None:
        return "";
    case ChapterRefusal::MaxCount:
        return common::GetUIText(common::kMaxChaptersText);
    case ChapterRefusal::TimeOutside:
        return common::GetUIText(common::kChapterTimeOutsideText);
    case ChapterRefusal::SameTime:
        return common::GetUIText(common::kSameChapterTimeText);
    case ChapterRefusal::FirstChapter:
        return common::GetUIText(common::kFirstChapterText);
    case ChapterRefusal::DeleteFirst:
        return common::GetUIText(common::kDeleteFirstChapterText);
    case ChapterRefusal::ClipTooShort:
        return "To add chapter, the clip duration must larger than one minute!";
    }
    return "";
}

void ChapterList::prepare(const ClipRecord &clip)
{
    prepare(clip.start, clip.end, clip.chapters ? clip.chapters->times() : std::vector<int32_t>());
}

void ChapterList::prepare(int32_t start, int32_t end, const std::vector<int32_t> &existing)
{
    start_ = start;
    end_ = end;
    if (!existing.empty()) {
        times_ = existing;
        if (times_.size() > kMaxChapters)
            times_.resize(kMaxChapters);
        return;
    }
    const int32_t d = end_ - start_;
    spread(std::clamp(d / kSecondsPerAutoChapter, 2, kMaxChapters));
}

void ChapterList::spread(int count)
{
    const int64_t d = end_ - start_;
    times_.clear();
    for (int i = 0; i < count; ++i)
        times_.push_back(static_cast<int32_t>(i * d / count + start_));
}

bool ChapterList::contains(int32_t time) const
{
    return std::find(times_.begin(), times_.end(), time) != times_.end();
}

ChapterRefusal ChapterList::insert(int32_t time)
{
    if (count() >= kMaxChapters)
        return ChapterRefusal::MaxCount;
    if (!insideClip(time))
        return ChapterRefusal::TimeOutside;
    if (contains(time))
        return ChapterRefusal::SameTime;
    if (end_ - start_ < 60)
        return ChapterRefusal::ClipTooShort;
    times_.push_back(time);
    std::sort(times_.begin(), times_.end());
    return ChapterRefusal::None;
}

ChapterRefusal ChapterList::modify(int index, int32_t time)
{
    if (index <= 0 || index >= count())
        return ChapterRefusal::FirstChapter;
    if (!insideClip(time))
        return ChapterRefusal::TimeOutside;
    if (contains(time))
        return ChapterRefusal::SameTime;
    times_[index] = time;
    std::sort(times_.begin(), times_.end());
    return ChapterRefusal::None;
}

ChapterRefusal ChapterList::removeAt(int index)
{
    if (index <= 0 || index >= count())
        return ChapterRefusal::DeleteFirst;
    times_.erase(times_.begin() + index);
    return ChapterRefusal::None;
}

std::vector<std::string> ChapterList::autoSplitEntries() const
{
    const int n = std::clamp((end_ - start_) / kSecondsPerAutoChapter, 1, kMaxChapters - 1);
    std::vector<std::string> entries;
    for (int k = 2; k <= n + 1; ++k)
        entries.push_back(std::to_string(k));
    return entries;
}

int ChapterList::autoSplitSelection() const
{
    return std::max(count() - 2, 0);
}

void ChapterList::autoSplit(int entryIndex)
{
    spread(std::clamp(entryIndex + 2, 2, kMaxChapters));
}

void ChapterList::splitTime(int32_t time, int &hours, int &minutes, int &seconds)
{
    hours = time / 3600 % 24;
    minutes = time / 60 % 60;
    seconds = time % 60;
}

int32_t ChapterList::typedTime(int hours, int minutes, int seconds)
{
    return hours * 3600 + minutes * 60 + seconds;
}

} // namespace vt::project
