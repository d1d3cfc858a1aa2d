#include "app/project/clip_record.h"

#include "app/project/display_geometry.h"
#include "app/common/project_reset.h"
#include "app/common/settings.h"

#include <filesystem>
#include <utility>

namespace vt::project {

std::vector<int32_t> TSubChapter::times() const
{
    std::vector<int32_t> result;
    for (const TSubButtonImage &button : buttons)
        result.push_back(button.chapterTime);
    return result;
}

std::unique_ptr<TSubChapter> TSubChapter::fromTimes(const std::vector<int32_t> &times)
{
    auto page = std::make_unique<TSubChapter>();
    for (int32_t time : times)
        page->buttons.push_back({time});
    return page;
}

ClipRecord::ClipRecord()
{
    const common::Settings &settings = common::programSettings();
    subtitleFontSize = settings.subtitleFontSize;
    subtitleLanguageIndex = settings.subtitleLanguageIndex;
}

void ClipRecord::setStreamFacts(const StreamFacts &facts)
{
    duration = facts.duration;
    frameRate = facts.frameRate;
    videoBitrate = facts.videoBitrate;
    width = facts.width;
    height = facts.height;
    aspectCode = facts.aspectCode;
    sampleRate = facts.sampleRate;
    audioValue = facts.audioValue;
    audioBitrate = facts.audioBitrate;
    progressive = facts.progressive;

    interlaced = progressive == 0;
    const PictureSize display = DisplaySize(width, height, aspectCode, interlaced);
    displayWidth = display.width;
    displayHeight = display.height;
    displayAspect = displayHeight > 0 ? static_cast<double>(displayWidth) / displayHeight : 1.0;
    start = 0;
    end = duration;
    letterbox = true;
    subtitleFile.clear();
}

void ClipRecord::setTimes(int32_t newStart, int32_t newEnd)
{
    start = newStart;
    end = newEnd;
}

void ClipRecord::setSubtitleFile(const std::string &path)
{
    subtitleFile = path;
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        subtitleEnabled = true;
}

bool ClipRecord::subtitleShown() const
{
    std::error_code error;
    return subtitleEnabled && !subtitleFile.empty() && std::filesystem::is_regular_file(subtitleFile, error);
}

void ClipRecord::setSnapshot(const QImage &picture)
{
    // Pixel-aspect correction: interlaced clips, and progressive clips whose
    // aspect code names another shape than the coded one.
    QImage shown = picture;
    const bool corrected = interlaced || displayWidth != width || displayHeight != height;
    if (corrected && displayWidth > 0 && displayHeight > 0)
        shown = picture.scaled(displayWidth, displayHeight);
    const PictureSize limited = SnapshotSize({shown.width(), shown.height()});
    if (limited.width != shown.width() || limited.height != shown.height())
        shown = picture.scaled(limited.width, limited.height);
    snapshot = shown;

    const PictureSize previewSize = PreviewSize(displayAspect);
    previewWidth = previewSize.width;
    previewHeight = previewSize.height;
    preview = snapshot.isNull() ? QImage() : snapshot.scaled(previewWidth, previewHeight);
}

ClipRecord &ClipRecordList::append(std::unique_ptr<ClipRecord> clip)
{
    clips_.push_back(std::move(clip));
    return *clips_.back();
}

void ClipRecordList::removeAt(int index)
{
    if (index >= 0 && index < count())
        clips_.erase(clips_.begin() + index);
}

int ClipRecordList::moveUp(int index)
{
    if (index <= 0 || index >= count())
        return index;
    std::swap(clips_[index], clips_[index - 1]);
    return index - 1;
}

int ClipRecordList::moveDown(int index)
{
    if (index < 0 || index >= count() - 1)
        return index;
    std::swap(clips_[index], clips_[index + 1]);
    return index + 1;
}

int ClipRecordList::moveToTop(int index)
{
    if (index <= 0 || index >= count())
        return index;
    auto moved = std::move(clips_[index]);
    clips_.erase(clips_.begin() + index);
    clips_.insert(clips_.begin(), std::move(moved));
    return 0;
}

int ClipRecordList::moveToBottom(int index)
{
    if (index < 0 || index >= count() - 1)
        return index;
    auto moved = std::move(clips_[index]);
    clips_.erase(clips_.begin() + index);
    clips_.push_back(std::move(moved));
    return count() - 1;
}

int64_t ClipRecordList::totalSeconds() const
{
    int64_t total = 0;
    for (const auto &clip : clips_)
        total += clip->effectiveDuration();
    return total;
}

ClipRecordList &programClips()
{
    static ClipRecordList *clips = [] {
        auto *created = new ClipRecordList;
        common::RegisterResetStep(common::ResetScope::Project, [created] { created->clear(); });
        return created;
    }();
    return *clips;
}

} // namespace vt::project
