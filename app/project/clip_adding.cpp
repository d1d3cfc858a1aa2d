#include "app/project/clip_adding.h"

#include "app/project/clip_probe.h"
#include "app/common/ui_language.h"

#include <filesystem>

namespace vt::project {

namespace {

using common::kUnsupportedText;
using common::kDvd5LimitText;
using common::kDvd9LimitText;
using common::kNtscClipsText;
using common::kPalClipsText;

} // namespace

AddClipsResult AddClips(ClipRecordList &clips, const std::vector<std::string> &files, const AddClipsOptions &options)
{
    AddClipsResult result;
    const bool lookForSubtitles = options.builderMode && files.size() <= kSubtitleLookupMaxFiles;
    for (const std::string &file : files) {
        if (options.progress)
            options.progress(std::filesystem::path(file).filename().string());
        ProbeResult probe = ProbeClip(file, options.letterbox, options.libraryFolder);
        if (!probe.clip) {
            result.failed.push_back(file);
            continue;
        }
        if (lookForSubtitles) {
            const std::string subtitle = SameNamedSubtitle(file);
            if (!subtitle.empty())
                probe.clip->setSubtitleFile(subtitle);
        }
        clips.append(std::move(probe.clip));
        if (result.firstAdded < 0)
            result.firstAdded = clips.count() - 1;
    }
    return result;
}

std::string UnsupportedFilesMessage(const std::vector<std::string> &failed)
{
    if (failed.empty())
        return "";
    std::string message = common::GetUIText(kUnsupportedText);
    for (const std::string &path : failed)
        message += path + "\n";
    return message;
}

std::string DiscLimitMessage(const DiscEstimate &estimate, DiscType disc)
{
    if (estimate.withinLimit())
        return "";
    return common::GetUIText(disc == DiscType::DVD5 ? kDvd5LimitText : kDvd9LimitText);
}

bool IsNtscClip(const ClipRecord &clip)
{
    return clip.height == 480 && static_cast<int>(clip.frameRate) == 29;
}

std::string TvSystemMismatchMessage(const ClipRecordList &clips)
{
    std::string ntsc, pal;
    for (int i = 0; i < clips.count(); ++i)
        (IsNtscClip(clips[i]) ? ntsc : pal) += clips[i].vobFile + "\n";
    if (ntsc.empty() || pal.empty())
        return "";
    return common::GetUIText(kNtscClipsText) + ntsc + common::GetUIText(kPalClipsText) + pal;
}

} // namespace vt::project
