#include "app/shell/option_window_model.h"

#include "app/shell/os_class.h"
#include "app/shell/program_files.h"
#include "platform/ini_file.h"
#include "platform/locale_name.h"
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>

namespace vt::shell {

namespace {

constexpr const char *kNotDefined = "Nodef";
constexpr const char *kDefaultUILanguage = "English.ini";
constexpr const char *kRestartLabelDesigned = "* Restart software required for the change to take effect";

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

void OptionWindowModel::loadUILanguageName(const std::string &stored)
{
    if (!language_.UILanguage.empty())
        return;
    std::string name = stored;
    if (name == kNotDefined) {
        if (const auto fromRegistry = environment_.registry.readString(kRegistryKey, kUILanguageKey))
            name = *fromRegistry;
    }
    if (name == kNotDefined || name.size() < 4)
        name = kDefaultUILanguage;
    language_.UILanguage = name;
}

void OptionWindowModel::LoadSettings()
{
    const OptionFile stored = readOptionFile(IniFile(environment_.optionIniRead));
    const Settings &values = stored.settings;
    Settings &s = settings_;
    OptionControls &c = controls;

    copyWindowlessSettings(values, s);
    c.suiSpinEdit_DVDMenuSafeDistance = values.i_CreateMenuSafeDistance;
    c.suiSpinEdit_Duration = values.i_MenuDuration;

    loadUILanguageName(stored.uiLanguage);

    const int shipped = environment_.regions.shippedCount();
    const int menuItems = static_cast<int>(c.suiComboBox_MenuLanguage.items.size());
    const int userItems = static_cast<int>(c.suiComboBox_SubtitleLanguage.items.size());

    if (stored.useDefault) {
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
        c.suiCheckBox_SPTI = values.b_UseSTPI;
        c.suiCheckBox_ASPI = !c.suiCheckBox_SPTI;
        c.suiEdit_OutputFolder = ValidateOutputFolder(values.g_s_OutputFolder, s.g_s_OutputFolder, environment_.folders);
        c.suiCheckBox_DeleteTemp = values.b_DeleteTempFile;
        c.suiCheckBox_4_3 = values.b_4_3;
        c.suiCheckBox_16_9 = !c.suiCheckBox_4_3;
        c.suiCheckBox_NTSC = values.b_VideoForamt;
        c.suiCheckBox_PAL = !c.suiCheckBox_NTSC;
        c.suiCheckBox_D5 = values.b_DVD5;
        c.suiCheckBox_D9 = !c.suiCheckBox_D5;

        // Both keys hold combined-list indices; the subtitle list shows the
        // user regions only, so its item index is offset by the shipped count.
        const int subtitle = values.i_SubTitleLanguageCodeIndex;
        const int menu = values.i_MenuLanguageCodeIndex;
        selectItem(c.suiComboBox_SubtitleLanguage,
                   (subtitle >= shipped && subtitle - shipped < userItems) ? subtitle - shipped : 0);
        selectItem(c.suiComboBox_MenuLanguage, (menu >= 0 && menu < menuItems) ? menu : 0);

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
    s.i_CreateMenuSafeDistance = heldToRange(&Settings::i_CreateMenuSafeDistance, c.suiSpinEdit_DVDMenuSafeDistance);
    s.i_MenuDuration = heldToRange(&Settings::i_MenuDuration, c.suiSpinEdit_Duration);
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
    OptionFile values {settings_, false, language_.UILanguage};
    // Both language keys carry the DVD language.
    values.settings.i_MenuLanguageCodeIndex = settings_.i_SubTitleLanguageCodeIndex;
    const bool ok = writeOptionFile(ini, values);
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
    settings_.i_FontSize = heldToRange(&Settings::i_FontSize, controls.suiFontSizeComboBox);
    result.saved = SaveSettings();
    result.error = error_;
    confirmed = true;
    if (settings_.b_UseNMSDVD != engineBefore) {
        result.restartNotice = true;
        const CaptionTexts label = language_.captionTexts("OptionWindow", "Label3");
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
