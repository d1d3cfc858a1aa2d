// The chapter start times of one clip, as the chapter window edits them.
//
// Times are whole seconds from the start of the source file; the first
// chapter always starts at the clip's trim start and cannot be changed or
// deleted. Other chapter times lie in [start, end): a chapter starting at the
// clip's very end would be empty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vt::project {

struct ClipRecord;

inline constexpr int kMaxChapters = 12;
inline constexpr int32_t kSecondsPerAutoChapter = 300;

// What an edit reports instead of changing the list.
enum class ChapterRefusal {
    None,
    MaxCount,         // text 27
    TimeOutside,      // text 28
    SameTime,         // text 29
    FirstChapter,     // text 30 (modify)
    DeleteFirst,      // text 139 (delete)
    ClipTooShort,     // "To add chapter, the clip duration must larger than one minute!"
};

// The message shown for a refusal ("" for None).
std::string ChapterRefusalText(ChapterRefusal refusal);

class ChapterList {
public:
    // Takes the clip's chapter page when it has one, otherwise one chapter
    // per 5 minutes (2 to 12), evenly spread from the start.
    void prepare(const ClipRecord &clip);
    void prepare(int32_t start, int32_t end, const std::vector<int32_t> &existing);

    const std::vector<int32_t> &times() const { return times_; }
    int count() const { return static_cast<int>(times_.size()); }

    ChapterRefusal insert(int32_t time);
    ChapterRefusal modify(int index, int32_t time);
    ChapterRefusal removeAt(int index);

    // The automatic split list offers "2" … "n + 1" with n = clamp(d ÷ 300, 1, 11).
    std::vector<std::string> autoSplitEntries() const;
    // The entry matching the current count (count − 2, at least 0).
    int autoSplitSelection() const;
    // Entry index k − 2: k chapters evenly spread over the clip.
    void autoSplit(int entryIndex);

    // Spin box values of a time: hours (mod 24), minutes, seconds.
    static void splitTime(int32_t time, int &hours, int &minutes, int &seconds);
    static int32_t typedTime(int hours, int minutes, int seconds);

private:
    bool insideClip(int32_t time) const { return time >= start_ && time < end_; }
    bool contains(int32_t time) const;
    void spread(int count);

    int32_t start_ = 0, end_ = 0;
    std::vector<int32_t> times_;
};

} // namespace vt::project
