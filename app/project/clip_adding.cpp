#include "app/project/clip_adding.h"

#include "app/common/ui_language.h"
#include "app/project/clip_probe.h"

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
        probe.clip->subtitleFontSize = options.subtitleFontSize;
        probe.clip->subtitleLanguageIndex = options.subtitleLanguageIndex;
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

std::string UnsupportedFilesMessage(const common::UiLanguage &language, const std::vector<std::string> &failed)
{
    if (failed.empty())
        return "";
    std::string message = language.GetUIText(kUnsupportedText);
    for (const std::string &path : failed)
        message += path + "\n";
    return message;
}

std::string DiscLimitMessage(const common::UiLanguage &language, const DiscEstimate &estimate, DiscType disc)
{
    if (estimate.withinLimit())
        return "";
    return language.GetUIText(disc == DiscType::DVD5 ? kDvd5LimitText : kDvd9LimitText);
}

bool IsNtscClip(const ClipRecord &clip)
{
    return clip.height == 480;
}

std::string TvSystemMismatchMessage(const common::UiLanguage &language, const ClipRecordList &clips)
{
    std::string ntsc, pal;
    for (int i = 0; i < clips.count(); ++i)
        (IsNtscClip(clips[i]) ? ntsc : pal) += clips[i].vobFile + "\n";
    if (ntsc.empty() || pal.empty())
        return "";
    return language.GetUIText(kNtscClipsText) + ntsc + language.GetUIText(kPalClipsText) + pal;
}

} // namespace vt::project
