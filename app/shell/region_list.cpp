#include "app/common/region_list.h"

#include "app/common/program_files.h"
#include "app/common/ui_language.h"
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>

namespace vt::shell {

namespace {

constexpr const char *kCountSection = "RegionCount";
constexpr const char *kCountKey = "Region";
constexpr const char *kNameSection = "RegionLanguage";
constexpr const char *kCharacterSetSection = "CharacterSet";
constexpr const char *kFontFileSection = "RegionFontFileName";
constexpr const char *kLanguageCodeSection = "LanguageCode";
constexpr const char *kListedNameDefault = "Others";
constexpr const char *kUnknownRegionName = "Other";
constexpr const char *kNotDefined = "Nodef";

int regionCount(const IniFile &ini, int defaultCount)
{
    const int64_t count = ini.readInt(kCountSection, kCountKey, defaultCount);
    return static_cast<int>(std::clamp<int64_t>(count, 0, kMaxRegionsPerFile));
}

std::string regionKey(int index)
{
    return kCountKey + std::to_string(index);
}

std::vector<std::string> namesOf(const IniFile &ini, int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(ini.readString(kNameSection, regionKey(i), kListedNameDefault));
    return names;
}

} // namespace

RegionList::RegionList(std::string languageIni, std::string subtitleIniRead, std::string subtitleIniWrite)
    : language_(std::move(languageIni))
    , subtitleRead_(std::move(subtitleIniRead))
    , subtitleWritePath_(std::move(subtitleIniWrite))
{
}

RegionList RegionList::program()
{
    const std::string shipped = resolveCaseInsensitive(ExePath() + kLanguageIni);
    return RegionList(shipped.empty() ? ExePath() + kLanguageIni : shipped, settingsFileForReading(kSubtitleIni),
                      settingsFolder() + kSubtitleIni);
}

int RegionList::shippedCount() const
{
    return regionCount(language_, 1);
}

int RegionList::userCount() const
{
    return regionCount(subtitleRead_, 0);
}

std::vector<std::string> RegionList::shippedNames() const
{
    return namesOf(language_, shippedCount());
}

std::vector<std::string> RegionList::userNames() const
{
    return namesOf(subtitleRead_, userCount());
}

std::vector<std::string> RegionList::combinedNames() const
{
    std::vector<std::string> names = shippedNames();
    const std::vector<std::string> user = userNames();
    names.insert(names.end(), user.begin(), user.end());
    return names;
}

std::string RegionList::nameAt(int index) const
{
    const int shipped = shippedCount();
    if (index < 0)
        return kUnknownRegionName;
    if (index < shipped)
        return language_.readString(kNameSection, regionKey(index), kListedNameDefault);
    if (index - shipped < userCount())
        return subtitleRead_.readString(kNameSection, regionKey(index - shipped), kListedNameDefault);
    return kUnknownRegionName;
}

std::string RegionList::property(const char *section, int index, const char *defaultValue) const
{
    const std::string name = nameAt(index);
    const std::string user = subtitleRead_.readString(section, name, kNotDefined);
    if (user != kNotDefined)
        return user;
    return language_.readString(section, name, defaultValue);
}

std::string RegionList::GetRegionCharacterSet(int index) const
{
    return property(kCharacterSetSection, index, kDefaultCharacterSet);
}

std::string RegionList::GetRegionFontFile(int index) const
{
    return property(kFontFileSection, index, kDefaultRegionFontFile);
}

std::string RegionList::GetRegionLanguageCode(int index) const
{
    return property(kLanguageCodeSection, index, kDefaultLanguageCode);
}

AddRegionResult RegionList::addUserRegion(const std::string &name, const std::string &fontFile,
                                          const std::string &characterSet, const std::string &languageCode)
{
    AddRegionResult result;
    if (name.empty() || fontFile.empty() || characterSet.empty() || languageCode.empty())
        return result;
    if (!IniFile::nameProblem(name).empty()) {
        result.message = "The language name \"" + name
            + "\" cannot be used: it must not contain '=', '[', ']' or a line break, start with ';' or be blank.";
        return result;
    }
    for (const std::string *value : {&fontFile, &characterSet, &languageCode}) {
        if (value->find_first_of("\r\n") != std::string::npos) {
            result.message = "The subtitle language settings must not contain line breaks.";
            return result;
        }
    }

    // Written copies start from what the user had so far.
    ensureFolder(std::filesystem::path(subtitleWritePath_).parent_path().string());
    std::error_code ec;
    if (subtitleRead_.path() != subtitleWritePath_ && subtitleRead_.exists()
        && !std::filesystem::exists(subtitleWritePath_, ec))
        std::filesystem::copy_file(subtitleRead_.path(), subtitleWritePath_, ec);
    IniFile written(subtitleWritePath_);

    bool ok = true;
    if (language_.readString(kFontFileSection, name, kNotDefined) == kNotDefined) {
        const std::vector<std::string> names = userNames();
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            const int count = static_cast<int>(names.size());
            ok = written.writeString(kNameSection, regionKey(count), name)
                && written.writeInt(kCountSection, kCountKey, count + 1);
            result.appended = ok;
        }
    }
    ok = ok && written.writeString(kFontFileSection, name, fontFile)
        && written.writeString(kCharacterSetSection, name, characterSet)
        && written.writeString(kLanguageCodeSection, name, languageCode);
    if (!ok) {
        result.message = written.error();
        return result;
    }
    subtitleRead_ = IniFile(subtitleWritePath_);
    result.ok = true;
    result.message = GetUIText(kAddOkText);
    return result;
}

} // namespace vt::shell
