// The project model: one record per source clip (ClipRecord) and the ordered
// array that owns them (ClipRecordList).
//
// The pictures are kept as images; the list entry, strip entry, title button
// and subtitle marker belong to the windows, which keep their own controls
// and look the record up by position.
#pragma once

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vt::project {

// The ten values the converter library reports for a file, in its order.
struct StreamFacts {
    int32_t duration = 0;       // seconds
    float frameRate = 0;
    float videoBitrate = 0;
    int32_t width = 0, height = 0;
    int32_t aspectCode = 0;     // 0 as coded, 1 1:1, 2 4:3, 3 16:9, 4 2.21:1
    int32_t sampleRate = 0;
    int32_t audioValue = 0;
    float audioBitrate = 0;
    int32_t progressive = 0;    // 0: interlaced
};

// One chapter button of a clip's chapter page: the second of the source file
// at which its chapter starts.
struct TSubButtonImage {
    int32_t chapterTime = 0;
};

// A clip's chapter page: its chapter buttons in order.
struct TSubChapter {
    std::vector<TSubButtonImage> buttons;
    std::string musicFile;  // background music of the chapter menu, "" for none

    std::vector<int32_t> times() const;
    static std::unique_ptr<TSubChapter> fromTimes(const std::vector<int32_t> &times);
};

inline constexpr const char *kDefaultSubtitleFontName = "Tahoma";

struct ClipRecord {
    QImage snapshot;  // the clip's picture at display size (at most 720 × 576)
    QImage preview;   // the same picture at preview size

    int32_t duration = 0;
    float frameRate = 0;
    float videoBitrate = 0;
    int32_t width = 0, height = 0;
    int32_t aspectCode = 0;
    int32_t sampleRate = 0;
    int32_t audioValue = 0;
    float audioBitrate = 0;
    int32_t progressive = 0;

    std::string fileName;
    std::string subtitleFile;
    int32_t start = 0;
    int32_t end = 0;
    bool letterbox = true;
    bool subtitleEnabled = true;
    int32_t previewWidth = 0, previewHeight = 0;

    bool hasTitleButton = false;            // the clip has a button on the title menu
    std::unique_ptr<TSubChapter> chapters;  // the chapter page, or none

    int32_t displayWidth = 0, displayHeight = 0;
    double displayAspect = 1.0;
    bool interlaced = false;
    int32_t subtitleFontSize = 20;
    std::string subtitleFontName = kDefaultSubtitleFontName;
    int32_t subtitleLanguageIndex = 0;
    std::string vobFile;
    // Set by the conversion when the source ended before the clip's end (a
    // damaged or cut file): the seconds the VOB holds. -1 otherwise.
    int32_t convertedDuration = -1;
    int64_t fileSize = 0;  // KB, burn-source VOB files only

    // Defaults from the program settings (font size, subtitle language).
    ClipRecord();

    int32_t effectiveDuration() const { return end - start; }
    // What the disc holds of the clip: the converted seconds when the source
    // ended early, otherwise the effective duration.
    int32_t discDuration() const { return convertedDuration >= 0 ? convertedDuration : effectiveDuration(); }

    // Stores the facts and derives the display size; start 0, end the
    // duration, letterbox on, no subtitle file.
    void setStreamFacts(const StreamFacts &facts);
    void setTimes(int32_t newStart, int32_t newEnd);
    // A file that does not exist re-enables the subtitle.
    void setSubtitleFile(const std::string &path);
    // True when the subtitle file exists and is enabled (the marker shows it).
    bool subtitleShown() const;
    // Stretches the picture to display size (when the pixels are not
    // square), limits it to 720 × 576, and makes the preview picture.
    void setSnapshot(const QImage &picture);
};

// The project's clips in list (disc) order; owns the records.
class ClipRecordList {
public:
    int count() const { return static_cast<int>(clips_.size()); }
    bool empty() const { return clips_.empty(); }
    ClipRecord &operator[](int index) { return *clips_.at(index); }
    const ClipRecord &operator[](int index) const { return *clips_.at(index); }

    ClipRecord &append(std::unique_ptr<ClipRecord> clip);
    // Later clips move up one place.
    void removeAt(int index);
    void clear() { clips_.clear(); }

    // Reordering; each returns the new position of the moved clip (the old
    // one when nothing moves).
    int moveUp(int index);
    int moveDown(int index);
    int moveToTop(int index);
    int moveToBottom(int index);

    // The sum of the effective durations, in 64-bit.
    int64_t totalSeconds() const;

private:
    std::vector<std::unique_ptr<ClipRecord>> clips_;
};

// The program's project. Clearing the project (app/shell/project_reset.h)
// empties it.
ClipRecordList &programClips();

} // namespace vt::project
