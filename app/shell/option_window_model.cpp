#include "app/shell/option_window_model.h"

#include "app/shell/extra_ui_texts.h"
#include "app/shell/os_class.h"
#include "app/shell/program_files.h"
#include "app/shell/subtitle_choices.h"
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

// The choices of a box with value chosen; a value that is not among the
// choices (a hand-edited table) comes first.
void setChoice(ComboBoxModel &combo, const std::vector<std::string> &choices, const std::string &value)
{
    combo.items = choices;
    int index = indexOf(combo.items, value);
    if (index < 0) {
        combo.items.insert(combo.items.begin(), value);
        index = 0;
    }
    selectItem(combo, index);
}

// The designed captions of the user-language labels, as the missing fields are named.
constexpr std::pair<const char *, const char *> kUserLanguageLabels[] = {
    {"Label_SubtitleLanguage", "Language Name"},
    {"Label_FontFile", "Font File"},
    {"Label_CharSet", "Character Set"},
    {"Label_LanguageCode", "Language Code"},
};

// A label caption without its trailing " :".
std::string fieldName(std::string caption)
{
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':'))
        caption.pop_back();
    return caption;
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
    // The other windows write single keys into the user's copy; it starts
    // as the shipped file before any of them can.
    if (StartUserOptionFile(environment_.optionIniRead, environment_.optionIniWrite)
        && std::filesystem::exists(environment_.optionIniWrite))
        environment_.optionIniRead = environment_.optionIniWrite;
    fontFiles_ = SubtitleFontFiles();
    characterSets_ = SubtitleCharacterSets();
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
        s.i_SubTitleLanguageCodeIndex = std::max(c.suiComboBox_MenuLanguage.itemIndex, 0);
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
        // The subtitle default is the subtitle window's own choice.
        s.i_SubTitleLanguageCodeIndex = (subtitle >= 0 && subtitle < menuItems) ? subtitle : 0;

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
    s.i_MenuLanguageCodeIndex = std::max(c.suiComboBox_MenuLanguage.itemIndex, 0);
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
    StartUserOptionFile(environment_.optionIniRead, target);
    IniFile ini(target);
    const OptionFile values {settings_, false, language_.UILanguage};
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
        setChoice(controls.suiComboBox_FontFile, fontFiles_, environment_.regions.GetRegionFontFile(region));
        setChoice(controls.suiComboBox_CharSet, characterSets_, environment_.regions.GetRegionCharacterSet(region));
        setChoice(controls.suiComboBox_LanguageCode, RegionLanguageCodes(environment_.regions),
                  environment_.regions.GetRegionLanguageCode(region));
    }
    controls.suiFontSizeComboBox = settings_.i_FontSize;
}

AddRegionResult OptionWindowModel::loadUserSubtitleLanguage()
{
    const ComboBoxModel *fields[] = {&controls.suiComboBox_SubtitleLanguage, &controls.suiComboBox_FontFile,
                                     &controls.suiComboBox_CharSet, &controls.suiComboBox_LanguageCode};
    std::string missing;
    for (size_t i = 0; i < std::size(fields); ++i) {
        if (!fields[i]->text.empty())
            continue;
        const auto [label, designed] = kUserLanguageLabels[i];
        const CaptionTexts caption = language_.captionTexts("OptionWindow", label);
        missing += (missing.empty() ? "" : ", ") + fieldName(caption.hasCaption ? caption.caption : designed);
    }
    if (!missing.empty())
        return AddRegionResult {false, false, language_.GetUIText(kFillInText) + missing + "."};

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
    controls.suiEdit_OutputFolder =
        ValidateOutputFolder(chosenFolder, controls.suiEdit_OutputFolder, environment_.folders, &refusal);
    return refusal;
}

} // namespace vt::shell
