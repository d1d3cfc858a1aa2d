#include "app/project/subtitle_setup.h"

#include "app/project/clip_record.h"
#include "app/shell/settings.h"
#include "app/shell/ui_language.h"
#include "platform/ini_file.h"

#include <filesystem>

namespace vt::project {

SubtitleSetup::SubtitleSetup(const TClipInfo &clip, const shell::Settings &settings)
    : path(clip.subtitleFile)
    , languageIndex(clip.subtitleLanguageIndex)
    , fontSize(clip.subtitleFontSize)
    , fontName(clip.subtitleFontName)
{
    if (!fileExists()) {
        languageIndex = settings.i_SubTitleLanguageCodeIndex;
        fontSize = settings.i_FontSize;
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
        return shell::GetUIText(shell::kNoSubtitleFileText);
    return shell::GetUIText(shell::kSubtitleFileText) + " : " + std::filesystem::path(path).filename().string();
}

bool SubtitleSetup::ok(TClipInfo &clip, shell::Settings &settings, const std::string &optionIniPath,
                       std::string *error)
{
    clip.subtitleFontName = fontName;
    clip.subtitleLanguageIndex = languageIndex;
    clip.subtitleFontSize = fontSize;
    if (path != clip.subtitleFile)
        clip.setSubtitleFile(path);
    settings.i_SubTitleLanguageCodeIndex = languageIndex;
    settings.i_FontSize = fontSize;

    IniFile option(optionIniPath);
    const bool written =
        option.writeInt(shell::kOptionSection, shell::optionKey(&shell::Settings::i_SubTitleLanguageCodeIndex),
                        languageIndex)
        && option.writeInt(shell::kOptionSection, shell::optionKey(&shell::Settings::i_FontSize), fontSize);
    if (!written && error)
        *error = option.error();
    return written;
}

} // namespace vt::project
