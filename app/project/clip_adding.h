// Adding a batch of files to the project, as the clip list's Add button
// does: each file probed, the unusable ones listed in one message, a
// same-named subtitle attached for small batches in builder mode, and the
// checks made after the batch.
#pragma once

#include "app/project/clip_record.h"
#include "app/project/disc_estimate.h"

#include <functional>
#include <string>
#include <vector>

namespace vt::common {
class UiLanguage;
}

namespace vt::project {

struct AddClipsOptions {
    bool builderMode = true;  // subtitles offered (one-step builder)
    bool letterbox = true;    // the " Auto Add Letter Box" box
    std::string libraryFolder;  // the converter library's folder ("" program folder)
    // The subtitle defaults of the settings each new clip starts with.
    int32_t subtitleFontSize = 20;
    int32_t subtitleLanguageIndex = 0;
    // Called before each file with its name (no folder): the progress window's line.
    std::function<void(const std::string &)> progress;
};

struct AddClipsResult {
    int firstAdded = -1;              // index of the first clip added, or −1
    std::vector<std::string> failed;  // full paths that could not be added
};

inline constexpr int kSubtitleLookupMaxFiles = 2;

AddClipsResult AddClips(ClipRecordList &clips, const std::vector<std::string> &files, const AddClipsOptions &options);

// Text 125 followed by each path and a line break; "" when nothing failed.
std::string UnsupportedFilesMessage(const common::UiLanguage &language, const std::vector<std::string> &failed);

// Text 137 (DVD-5) or 138 (DVD-9) when the estimate is not within the disc;
// "" when it is.
std::string DiscLimitMessage(const common::UiLanguage &language, const DiscEstimate &estimate, DiscType disc);

// A clip is NTSC when its picture has 480 lines, whatever its frame rate:
// film-rate NTSC (23.976 pictures a second, shown with pulldown) is NTSC too.
bool IsNtscClip(const ClipRecord &clip);
// Texts 121 and 122 with the clips' VOB files when NTSC and PAL clips are
// mixed; "" otherwise.
std::string TvSystemMismatchMessage(const common::UiLanguage &language, const ClipRecordList &clips);

} // namespace vt::project
