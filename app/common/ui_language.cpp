#include "app/common/ui_language.h"

#include "app/common/program_files.h"
#include "app/common/ui_text_table.h"
#include "app/common/extra_ui_texts.h"
#include "platform/paths.h"
#include "platform/text_case.h"

#include <filesystem>

namespace vt::common {

namespace {

constexpr const char *kTextSection = "Text";
constexpr const char *kNoCaption = "nodef";

void replaceAll(std::string &text, const std::string &from, const std::string &to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool isPlainFileName(const std::string &name)
{
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

std::string trim(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

UiLanguage::UiLanguage(std::string languageFolder)
    : languageFolder_(withTrailingSlash(std::move(languageFolder)))
{
}

bool UiLanguage::LoadUILanguage(const std::string &fileName)
{
    if (!isPlainFileName(fileName))
        return false;
    const std::string file = resolveCaseInsensitive(languageFolder_ + fileName);
    std::error_code ec;
    if (file.empty() || !std::filesystem::is_regular_file(file, ec))
        return false;
    LanguageIni = std::make_unique<IniFile>(file);
    UILanguage = fileName;
    return true;
}

void UiLanguage::closeLanguageIni()
{
    LanguageIni.reset();
}

std::string UiLanguage::GetUIText(int number) const
{
    const char *builtIn = number >= kFirstExtraText ? ExtraUIText(number) : BuiltInUIText(number);
    std::string text = builtIn ? builtIn : "";
    if (LanguageIni)
        text = LanguageIni->readString(kTextSection, std::to_string(number), text);
    replaceAll(text, "#1", "\n");
    replaceAll(text, "#2", " ");
    return text;
}

std::string UiLanguage::hintText(const std::string &windowName, const std::string &controlName) const
{
    return LanguageIni ? LanguageIni->readString(windowName, controlName + "-Hint", "") : std::string();
}

bool UiLanguage::hasHint(const std::string &windowName, const std::string &controlName) const
{
    return LanguageIni && LanguageIni->hasKey(windowName, controlName + "-Hint");
}

CaptionTexts UiLanguage::captionTexts(const std::string &windowName, const std::string &controlName) const
{
    CaptionTexts texts;
    if (!LanguageIni)
        return texts;
    const std::string caption = LanguageIni->readString(windowName, controlName + "-Caption", kNoCaption);
    if (caption == kNoCaption)
        return texts;
    texts.hasCaption = true;
    texts.caption = caption;
    texts.fontName = LanguageIni->readString(windowName, controlName + "-FontName", kDefaultCaptionFont);
    const int64_t size = LanguageIni->readInt(windowName, controlName + "-FontSize", kDefaultCaptionFontSize);
    texts.fontSize = (size > 0 && size <= 200) ? static_cast<int>(size) : kDefaultCaptionFontSize;
    return texts;
}

std::vector<std::string> UiLanguage::languageFiles() const
{
    std::vector<std::string> files;
    for (const DirectoryEntry &entry : listFolder(languageFolder_)) {
        if (entry.isDirectory || entry.name.size() < 4)
            continue;
        if (equalsIgnoreCase(entry.name.substr(entry.name.size() - 4), ".ini"))
            files.push_back(entry.name);
    }
    return files;
}

std::string UiLanguage::languageCaption(const std::string &fileName)
{
    const std::string trimmed = trim(fileName);
    return trimmed.size() > 4 ? trimmed.substr(0, trimmed.size() - 4) : std::string();
}

bool UiLanguage::isCurrentLanguage(const std::string &fileName) const
{
    return equalsIgnoreCase(fileName, UILanguage);
}

UiLanguage &programUiLanguage()
{
    static UiLanguage language(ExePath() + kLangFolder);
    return language;
}

} // namespace vt::common
