#include "app/shell/option_window_model.h"

#include "app/shell/os_class.h"
#include "app/shell/program_files.h"
#include "platform/locale_name.h"
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>

namespace vt::shell {

namespace {

constexpr const char *kSection = "Option";
constexpr const char *kNotDefined = "Nodef";
constexpr const char *kDefaultUILanguage = "English.ini";
constexpr const char *kRestartLabelDesigned = "* Restart software required for the change to take effect";

// Limits for values people edit by hand; beyond them the numbers make no sense.
constexpr int64_t kMaxDiscSizePerMinKB = 1048576;  // 1 GB per minute
constexpr int64_t kMaxDiscSizeKB = 104857600;      // 100 GB
constexpr int64_t kMaxFontSize = 200;
constexpr int kMaxParallelConversions = 64;

// Below one: the default (a zero would divide by zero later); above max: max.
int64_t positiveOrDefault(int64_t value, int64_t defaultValue, int64_t max)
{
    if (value < 1)
        return defaultValue;
    return std::min(value, max);
}

int clampInt(int64_t value, int min, int max)
{
    return static_cast<int>(std::clamp<int64_t>(value, min, max));
}

int indexOf(const std::vector<std::string> &items, const std::string &text)
{
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void selectItem(ComboBoxModel &combo, int index)
{
    combo.itemIndex = (index >= 0 && index < static_cast<int>(combo.items.size())) ? index : -1;
    combo.text = combo.itemIndex >= 0 ? combo.items[combo.itemIndex] : std::string();
}

void setSingleItem(ComboBoxModel &combo, const std::string &value)
{
    combo.items = {value};
    selectItem(combo, 0);
}

} // namespace

SettingsEnvironment SettingsEnvironment::program()
{
    return SettingsEnvironment {
        settingsFileForReading(kOptionIni),
        settingsFolder() + kOptionIni,
        UserRegistry(),
        RegionList::program(),
        FolderContext::system(),
        userLanguageEnglishName(),
        OperatingSystemClass(),
    };
}

OptionWindowModel::OptionWindowModel(Settings &settings, UiLanguage &language, SettingsEnvironment environment)
    : settings_(settings)
    , language_(language)
    , environment_(std::move(environment))
{
}

void OptionWindowModel::create()
{
    fillLanguageLists();
    LoadSettings();
}

void OptionWindowModel::show()
{
    confirmed = false;
    page = OptionPage::General;
    LoadSettings();
}

void OptionWindowModel::fillLanguageLists()
{
    controls.suiComboBox_MenuLanguage.clear();
    controls.suiComboBox_SubtitleLanguage.clear();
    controls.suiComboBox_MenuLanguage.items = environment_.regions.combinedNames();
    controls.suiComboBox_SubtitleLanguage.items = environment_.regions.userNames();
}

void OptionWindowModel::loadUILanguageName()
{
    if (!language_.UILanguage.empty())
        return;
    const IniFile ini(environment_.optionIniRead);
    std::string name = ini.readString(kSection, "UILanguage", kNotDefined);
    if (name == kNotDefined) {
        if (const auto stored = environment_.registry.readString(kRegistryKey, "UILanguage"))
            name = *stored;
    }
    if (name == kNotDefined || name.size() < 4)
        name = kDefaultUILanguage;
    language_.UILanguage = name;
}

void OptionWindowModel::LoadSettings()
{
    const IniFile ini(environment_.optionIniRead);
    Settings &s = settings_;
    OptionControls &c = controls;
    const Settings defaults;

    s.OpenDialogFilter = ini.readString(kSection, "OpenDialogFilter", defaults.OpenDialogFilter);
    s.OpenDialogMusicFilter = ini.readString(kSection, "OpenDialogMusicFilter", defaults.OpenDialogMusicFilter);
    s.OpenVOBDialogFilter = ini.readString(kSection, "OpenVOBDialogFilter", defaults.OpenVOBDialogFilter);
    s.i_DiscSizePerMin = positiveOrDefault(ini.readInt(kSection, "DiscSizePerMin", defaults.i_DiscSizePerMin),
                                           defaults.i_DiscSizePerMin, kMaxDiscSizePerMinKB);
    s.i_DVD5Size = positiveOrDefault(ini.readInt(kSection, "DVD5Size", defaults.i_DVD5Size), defaults.i_DVD5Size,
                                     kMaxDiscSizeKB);
    s.i_DVD9Size = positiveOrDefault(ini.readInt(kSection, "DVD9Size", defaults.i_DVD9Size), defaults.i_DVD9Size,
                                     kMaxDiscSizeKB);
    s.i_FontSize = static_cast<int>(
        positiveOrDefault(ini.readInt(kSection, "FontSize", defaults.i_FontSize), defaults.i_FontSize, kMaxFontSize));
    const int64_t quality = ini.readInt(kSection, "OutputQuality", defaults.g_i_OutputQuality);
    s.g_i_OutputQuality = (quality >= 0 && quality <= 2) ? static_cast<int>(quality) : defaults.g_i_OutputQuality;
    s.g_b_AddChapterMenu = ini.readBool(kSection, "AddChapterMenu", defaults.g_b_AddChapterMenu);
    s.i_ParallelConversions = clampInt(ini.readInt(kSection, "ParallelConversions", defaults.i_ParallelConversions),
                                       0, kMaxParallelConversions);
    s.b_UseNMSDVD = ini.readBool(kSection, "UseBurner1", defaults.b_UseNMSDVD);
    s.b_ModifyIFO = ini.readBool(kSection, "ModifyIFO", defaults.b_ModifyIFO);
    c.suiSpinEdit_DVDMenuSafeDistance =
        clampInt(ini.readInt(kSection, "DVDMenuSafeDistance", defaults.i_CreateMenuSafeDistance), kSafeDistanceMin,
                 kSafeDistanceMax);
    c.suiSpinEdit_Duration =
        clampInt(ini.readInt(kSection, "DVDMenuDuration", defaults.i_MenuDuration), kDurationMin, kDurationMax);

    loadUILanguageName();

    const int shipped = environment_.regions.shippedCount();
    const int menuItems = static_cast<int>(c.suiComboBox_MenuLanguage.items.size());
    const int userItems = static_cast<int>(c.suiComboBox_SubtitleLanguage.items.size());

    if (ini.readBool(kSection, "UseDefault", true)) {
        const bool legacy = IsLegacyConsumerOs(environment_.osClass);
        c.suiCheckBox_SPTI = !legacy;
        c.suiCheckBox_ASPI = legacy;
        c.suiEdit_OutputFolder = ChooseWorkFolder(kWorkFolderName, environment_.folders);
        c.suiCheckBox_DeleteTemp = true;
        c.suiCheckBox_4_3 = true, c.suiCheckBox_16_9 = false;
        c.suiCheckBox_NTSC = true, c.suiCheckBox_PAL = false;
        c.suiCheckBox_D5 = true, c.suiCheckBox_D9 = false;
        c.suiCheckBox_Burner1 = true, c.suiCheckBox_Burner2 = false;
        c.suiCheckBox3 = true;

        // The user's own language, when it is one of the user-defined
        // subtitle languages, becomes the DVD and subtitle language; user
        // regions follow the shipped ones in the combined list.
        const int userIndex = indexOf(c.suiComboBox_SubtitleLanguage.items, environment_.userLanguageName);
        selectItem(c.suiComboBox_SubtitleLanguage, std::max(userIndex, 0));
        selectItem(c.suiComboBox_MenuLanguage, userIndex >= 0 ? shipped + userIndex : 0);
    } else {
        c.suiCheckBox_SPTI = ini.readBool(kSection, "UseSPTI", false);
        c.suiCheckBox_ASPI = !c.suiCheckBox_SPTI;
        c.suiEdit_OutputFolder = ValidateOutputFolder(ini.readString(kSection, "OutputFolder", "nodef"),
                                                      s.g_s_OutputFolder, environment_.folders);
        c.suiCheckBox_DeleteTemp = ini.readBool(kSection, "DeleteTempFiles", true);
        c.suiCheckBox_4_3 = ini.readBool(kSection, "ImageRatio", true);
        c.suiCheckBox_16_9 = !c.suiCheckBox_4_3;
        c.suiCheckBox_NTSC = ini.readBool(kSection, "VideoFormat", true);
        c.suiCheckBox_PAL = !c.suiCheckBox_NTSC;
        c.suiCheckBox_D5 = ini.readBool(kSection, "DVDType", true);
        c.suiCheckBox_D9 = !c.suiCheckBox_D5;

        // Both keys hold combined-list indices; the subtitle list shows the
        // user regions only, so its item index is offset by the shipped count.
        const int64_t subtitle = ini.readInt(kSection, "SubtitleLanguage", 0);
        const int64_t menu = ini.readInt(kSection, "MenuLanguage", 0);
        selectItem(c.suiComboBox_SubtitleLanguage,
                   (subtitle >= shipped && subtitle - shipped < userItems) ? static_cast<int>(subtitle - shipped) : 0);
        selectItem(c.suiComboBox_MenuLanguage, (menu >= 0 && menu < menuItems) ? static_cast<int>(menu) : 0);

        c.suiCheckBox_Burner1 = s.b_UseNMSDVD;
        c.suiCheckBox_Burner2 = !s.b_UseNMSDVD;
        c.suiCheckBox3 = s.b_ModifyIFO;
    }

    copyControlsToSettings();
    subtitleLanguageChanged();
}

void OptionWindowModel::copyControlsToSettings()
{
    Settings &s = settings_;
    const OptionControls &c = controls;
    s.b_UseNMSDVD = c.suiCheckBox_Burner1;
    s.b_ModifyIFO = c.suiCheckBox3;
    s.b_UseSTPI = c.suiCheckBox_SPTI;
    s.g_s_OutputFolder = c.suiEdit_OutputFolder;
    s.b_DeleteTempFile = c.suiCheckBox_DeleteTemp;
    s.i_MenuLanguageCodeIndex = s.i_SubTitleLanguageCodeIndex = std::max(c.suiComboBox_MenuLanguage.itemIndex, 0);
    s.b_DVD5 = c.suiCheckBox_D5;
    s.b_4_3 = c.suiCheckBox_4_3;
    s.b_VideoForamt = c.suiCheckBox_NTSC;
    s.i_CreateMenuSafeDistance = std::clamp(c.suiSpinEdit_DVDMenuSafeDistance, kSafeDistanceMin, kSafeDistanceMax);
    s.i_MenuDuration = std::clamp(c.suiSpinEdit_Duration, kDurationMin, kDurationMax);
}

bool OptionWindowModel::SaveSettings()
{
    error_.clear();
    const std::string &target = environment_.optionIniWrite;
    ensureFolder(std::filesystem::path(target).parent_path().string());
    std::error_code ec;
    // Keep the hand-editable keys of the shipped file in the user's copy.
    if (target != environment_.optionIniRead && !std::filesystem::exists(target, ec)
        && std::filesystem::exists(environment_.optionIniRead, ec))
        std::filesystem::copy_file(environment_.optionIniRead, target, ec);

    IniFile ini(target);
    const Settings &s = settings_;
    const bool ok = ini.writeBool(kSection, "UseSPTI", s.b_UseSTPI)
        && ini.writeString(kSection, "OutputFolder", s.g_s_OutputFolder)
        && ini.writeBool(kSection, "DeleteTempFiles", s.b_DeleteTempFile)
        && ini.writeBool(kSection, "ImageRatio", s.b_4_3)
        && ini.writeBool(kSection, "VideoFormat", s.b_VideoForamt)
        && ini.writeBool(kSection, "DVDType", s.b_DVD5)
        && ini.writeInt(kSection, "SubtitleLanguage", s.i_SubTitleLanguageCodeIndex)
        && ini.writeInt(kSection, "MenuLanguage", s.i_SubTitleLanguageCodeIndex)
        && ini.writeBool(kSection, "UseDefault", false)
        && ini.writeInt(kSection, "DVDMenuSafeDistance", s.i_CreateMenuSafeDistance)
        && ini.writeInt(kSection, "DVDMenuDuration", s.i_MenuDuration)
        && ini.writeInt(kSection, "FontSize", s.i_FontSize)
        && ini.writeInt(kSection, "OutputQuality", s.g_i_OutputQuality)
        && ini.writeString(kSection, "UILanguage", language_.UILanguage)
        && ini.writeBool(kSection, "AddChapterMenu", s.g_b_AddChapterMenu)
        && ini.writeBool(kSection, "UseBurner1", s.b_UseNMSDVD)
        && ini.writeBool(kSection, "ModifyIFO", s.b_ModifyIFO);
    if (!ok) {
        error_ = ini.error();
        return false;
    }
    // From now on the written copy is the one to read.
    environment_.optionIniRead = target;
    return true;
}

OkResult OptionWindowModel::ok()
{
    OkResult result;
    const bool engineBefore = settings_.b_UseNMSDVD;
    copyControlsToSettings();
    settings_.i_FontSize = static_cast<int>(positiveOrDefault(controls.suiFontSizeComboBox, 20, kMaxFontSize));
    result.saved = SaveSettings();
    result.error = error_;
    confirmed = true;
    if (settings_.b_UseNMSDVD != engineBefore) {
        result.restartNotice = true;
        const ControlTexts label = language_.controlTexts("OptionWindow", "Label3", "TLabel");
        result.restartText = label.hasCaption ? label.caption : kRestartLabelDesigned;
    }
    return result;
}

void OptionWindowModel::subtitleLanguageChanged()
{
    const ComboBoxModel &subtitle = controls.suiComboBox_SubtitleLanguage;
    if (!subtitle.items.empty()) {
        const int region = environment_.regions.shippedCount() + std::max(subtitle.itemIndex, 0);
        setSingleItem(controls.suiComboBox_FontFile, environment_.regions.GetRegionFontFile(region));
        setSingleItem(controls.suiComboBox_CharSet, environment_.regions.GetRegionCharacterSet(region));
        setSingleItem(controls.suiComboBox_LanguageCode, environment_.regions.GetRegionLanguageCode(region));
    }
    controls.suiFontSizeComboBox = settings_.i_FontSize;
}

AddRegionResult OptionWindowModel::loadUserSubtitleLanguage()
{
    const AddRegionResult result = environment_.regions.addUserRegion(
        controls.suiComboBox_SubtitleLanguage.text, controls.suiComboBox_FontFile.text,
        controls.suiComboBox_CharSet.text, controls.suiComboBox_LanguageCode.text);
    if (result.appended) {
        const std::string name = controls.suiComboBox_SubtitleLanguage.text;
        controls.suiComboBox_SubtitleLanguage.items = environment_.regions.userNames();
        controls.suiComboBox_MenuLanguage.items = environment_.regions.combinedNames();
        controls.suiComboBox_SubtitleLanguage.itemIndex = indexOf(controls.suiComboBox_SubtitleLanguage.items, name);
    }
    return result;
}

std::string OptionWindowModel::browse(const std::string &chosenFolder)
{
    std::string refusal;
    settings_.g_s_OutputFolder =
        ValidateOutputFolder(chosenFolder, settings_.g_s_OutputFolder, environment_.folders, &refusal);
    controls.suiEdit_OutputFolder = settings_.g_s_OutputFolder;
    return refusal;
}

} // namespace vt::shell
