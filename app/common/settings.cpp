#include "app/common/settings.h"

#include "platform/ini_file.h"

#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <variant>

namespace vt::common {

const char *const kOptionSection = "Option";
const char *const kUILanguageKey = "UILanguage";

Settings &programSettings()
{
    static Settings settings;
    return settings;
}

namespace {

// Limits for values people edit by hand; beyond them the numbers make no sense.
constexpr int64_t kMaxDiscSizePerMinKB = 1048576;  // 1 GB per minute
constexpr int64_t kMaxDiscSizeKB = 104857600;      // 100 GB
constexpr int64_t kMaxFontSize = 200;
constexpr int64_t kMaxParallelConversions = 64;

enum class Range {
    Any,                // integers: whatever fits the field
    PositiveUpToMax,    // below one: the default (a zero would divide by zero later); above max: max
    WithinOrDefault,    // outside min…max: the default
    ClampedToMinMax,    // outside min…max: the nearer limit
};

enum class Shown {
    NoControl,  // loaded straight into the settings
    InWindow,   // loaded into the settings window's controls, which feed the settings
};

using Field = std::variant<std::string Settings::*, int64_t Settings::*, int Settings::*, bool Settings::*,
                           std::string OptionFile::*, bool OptionFile::*>;

struct OptionKey {
    const char *key;
    Field field;
    bool saved;  // written on every save (the others change only by hand)
    Shown shown = Shown::InWindow;
    Range range = Range::Any;
    int64_t min = 0;
    int64_t max = 0;
};

// Saved keys in the order they are written.
const OptionKey kOptionKeys[] = {
    {"UseSPTI", &Settings::useSpti, true},
    {"OutputFolder", &Settings::outputFolder, true},
    {"DeleteTempFiles", &Settings::deleteTempFiles, true},
    {"ImageRatio", &Settings::shape4x3, true},
    {"VideoFormat", &Settings::ntsc, true},
    {"DVDType", &Settings::dvd5, true},
    {"SubtitleLanguage", &Settings::subtitleLanguageIndex, true},
    {"MenuLanguage", &Settings::menuLanguageIndex, true},
    {"UseDefault", &OptionFile::useDefault, true},
    {"DVDMenuSafeDistance", &Settings::menuSafeDistance, true, Shown::InWindow, Range::ClampedToMinMax,
     kSafeDistanceMin, kSafeDistanceMax},
    {"DVDMenuDuration", &Settings::menuDuration, true, Shown::InWindow, Range::ClampedToMinMax, kDurationMin,
     kDurationMax},
    {"FontSize", &Settings::subtitleFontSize, true, Shown::NoControl, Range::PositiveUpToMax, 1, kMaxFontSize},
    {"OutputQuality", &Settings::outputQuality, true, Shown::NoControl, Range::WithinOrDefault, 0, 2},
    {kUILanguageKey, &OptionFile::uiLanguage, true},
    {"AddChapterMenu", &Settings::addChapterMenu, true, Shown::NoControl},
    {"UseBurner1", &Settings::firstBurnEngine, true, Shown::NoControl},
    {"ModifyIFO", &Settings::modifyIfo, true, Shown::NoControl},
    {"OpenDialogFilter", &Settings::videoDialogFilter, false, Shown::NoControl},
    {"OpenDialogMusicFilter", &Settings::musicDialogFilter, false, Shown::NoControl},
    {"OpenVOBDialogFilter", &Settings::vobDialogFilter, false, Shown::NoControl},
    {"DiscSizePerMin", &Settings::discKBPerMinute, false, Shown::NoControl, Range::PositiveUpToMax, 1,
     kMaxDiscSizePerMinKB},
    {"DVD5Size", &Settings::dvd5SizeKB, false, Shown::NoControl, Range::PositiveUpToMax, 1, kMaxDiscSizeKB},
    {"DVD9Size", &Settings::dvd9SizeKB, false, Shown::NoControl, Range::PositiveUpToMax, 1, kMaxDiscSizeKB},
    {"ParallelConversions", &Settings::parallelConversions, false, Shown::NoControl, Range::ClampedToMinMax, 0,
     kMaxParallelConversions},
};

int64_t heldToRange(const OptionKey &key, int64_t value, int64_t defaultValue)
{
    switch (key.range) {
    case Range::Any:
        return value;
    case Range::PositiveUpToMax:
        return value < 1 ? defaultValue : std::min(value, key.max);
    case Range::WithinOrDefault:
        return (value >= key.min && value <= key.max) ? value : defaultValue;
    case Range::ClampedToMinMax:
        return std::clamp(value, key.min, key.max);
    }
    return value;
}

Settings &ownerOf(OptionFile &file, Settings *) { return file.settings; }
const Settings &ownerOf(const OptionFile &file, Settings *) { return file.settings; }
OptionFile &ownerOf(OptionFile &file, OptionFile *) { return file; }
const OptionFile &ownerOf(const OptionFile &file, OptionFile *) { return file; }

// The object a field pointer points into.
template <class Owner, class T, class File>
decltype(auto) ownerOf(File &file, T Owner::*)
{
    return ownerOf(file, static_cast<Owner *>(nullptr));
}

std::string readValue(const IniFile &ini, const char *key, const std::string &defaultValue)
{
    return ini.readString(kOptionSection, key, defaultValue);
}

bool readValue(const IniFile &ini, const char *key, bool defaultValue)
{
    return ini.readBool(kOptionSection, key, defaultValue);
}

bool writeValue(IniFile &ini, const char *key, const std::string &value)
{
    return ini.writeString(kOptionSection, key, value);
}

bool writeValue(IniFile &ini, const char *key, bool value) { return ini.writeBool(kOptionSection, key, value); }

bool writeValue(IniFile &ini, const char *key, int64_t value) { return ini.writeInt(kOptionSection, key, value); }

template <class T>
const OptionKey *keyOf(T Settings::*field)
{
    for (const OptionKey &key : kOptionKeys)
        if (const auto *member = std::get_if<T Settings::*>(&key.field); member && *member == field)
            return &key;
    return nullptr;
}

} // namespace

OptionFile readOptionFile(const IniFile &ini)
{
    OptionFile values;
    for (const OptionKey &key : kOptionKeys) {
        std::visit(
            [&](auto member) {
                auto &value = ownerOf(values, member).*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, int> || std::is_same_v<T, int64_t>) {
                    const int64_t held = heldToRange(key, ini.readInt(kOptionSection, key.key, value), value);
                    value = static_cast<T>(std::clamp<int64_t>(held, std::numeric_limits<T>::min(),
                                                               std::numeric_limits<T>::max()));
                } else {
                    value = readValue(ini, key.key, value);
                }
            },
            key.field);
    }
    return values;
}

bool writeOptionFile(IniFile &ini, const OptionFile &values)
{
    for (const OptionKey &key : kOptionKeys) {
        if (!key.saved)
            continue;
        const bool written = std::visit(
            [&](auto member) {
                const auto &value = ownerOf(values, member).*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, int>)
                    return writeValue(ini, key.key, static_cast<int64_t>(value));
                else
                    return writeValue(ini, key.key, value);
            },
            key.field);
        if (!written)
            return false;
    }
    return true;
}

bool StartUserOptionFile(const std::string &readFrom, const std::string &userCopy)
{
    std::error_code ec;
    if (userCopy == readFrom || std::filesystem::exists(userCopy, ec) || !std::filesystem::exists(readFrom, ec))
        return true;
    ensureFolder(std::filesystem::path(userCopy).parent_path().string());
    return std::filesystem::copy_file(readFrom, userCopy, ec);
}

void copyWindowlessSettings(const Settings &from, Settings &to)
{
    for (const OptionKey &key : kOptionKeys) {
        if (key.shown != Shown::NoControl)
            continue;
        std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<decltype(ownerOf(std::declval<OptionFile &>(), member)), Settings &>)
                    to.*member = from.*member;
            },
            key.field);
    }
}

const char *optionKey(int Settings::*field) { return keyOf(field)->key; }

const char *optionKey(bool Settings::*field) { return keyOf(field)->key; }

int heldToRange(int Settings::*field, int64_t value)
{
    const Settings defaults;
    const int64_t held = heldToRange(*keyOf(field), value, defaults.*field);
    return static_cast<int>(std::clamp<int64_t>(held, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace vt::common
