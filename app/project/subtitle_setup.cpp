#include "app/project/subtitle_setup.h"

#include "app/project/clip_record.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "platform/ini_file.h"

#include <filesystem>

namespace vt::project {

SubtitleSetup::SubtitleSetup(const ClipRecord &clip, const common::Settings &settings)
    : path(clip.subtitleFile)
    , languageIndex(clip.subtitleLanguageIndex)
    , fontSize(clip.subtitleFontSize)
    , fontName(clip.subtitleFontName)
{
    if (!fileExists()) {
        languageIndex = settings.subtitleLanguageIndex;
        fontSize = settings.subtitleFontSize;
    }
}

bool SubtitleSetup::fileExists() const
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::string SubtitleSetup::statusText() const
{
    if (!fileExists())
        return common::GetUIText(common::kNoSubtitleFileText);
    return common::GetUIText(common::kSubtitleFileText) + " : " + std::filesystem::path(path).filename().string();
}

bool SubtitleSetup::ok(ClipRecord &clip, common::Settings &settings, const std::string &optionIniPath,
                       std::string *error)
{
    clip.subtitleFontName = fontName;
    clip.subtitleLanguageIndex = languageIndex;
    clip.subtitleFontSize = fontSize;
    if (path != clip.subtitleFile)
        clip.setSubtitleFile(path);
    settings.subtitleLanguageIndex = languageIndex;
    settings.subtitleFontSize = fontSize;

    IniFile option(optionIniPath);
    const bool written =
        option.writeInt(common::kOptionSection, common::optionKey(&common::Settings::subtitleLanguageIndex),
                        languageIndex)
        && option.writeInt(common::kOptionSection, common::optionKey(&common::Settings::subtitleFontSize), fontSize);
    if (!written && error)
        *error = option.error();
    return written;
}

} // namespace vt::project
