#include "app/shell/option_window_model.h"

#include "app/common/os_class.h"
#include "app/common/program_files.h"
#include "app/common/extra_ui_texts.h"
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

OptionWindowModel::OptionWindowModel(common::Settings &settings, common::UiLanguage &language, common::SettingsEnvironment environment)
    : settings_(settings)
    , language_(language)
    , environment_(std::move(environment))
{
}

void OptionWindowModel::create()
{
    // The other windows write single keys into the user's copy; it starts
    // as the shipped file before any of them can.
    if (common::StartUserOptionFile(environment_.optionIniRead, environment_.optionIniWrite)
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
        if (const auto fromRegistry = environment_.registry.readString(common::kRegistryKey, common::kUILanguageKey))
            name = *fromRegistry;
    }
    if (name == kNotDefined || name.size() < 4)
        name = kDefaultUILanguage;
    language_.UILanguage = name;
}

void OptionWindowModel::LoadSettings()
{
    const common::OptionFile stored = common::readOptionFile(IniFile(environment_.optionIniRead));
    const common::Settings &values = stored.settings;
    common::Settings &s = settings_;
    OptionControls &c = controls;

    common::copyWindowlessSettings(values, s);
    c.suiSpinEdit_DVDMenuSafeDistance = values.menuSafeDistance;
    c.suiSpinEdit_Duration = values.menuDuration;

    loadUILanguageName(stored.uiLanguage);

    const int shipped = environment_.regions.shippedCount();
    const int menuItems = static_cast<int>(c.suiComboBox_MenuLanguage.items.size());
    const int userItems = static_cast<int>(c.suiComboBox_SubtitleLanguage.items.size());

    if (stored.useDefault) {
        const bool legacy = common::IsLegacyConsumerOs(environment_.osClass);
        c.suiCheckBox_SPTI = !legacy;
        c.suiCheckBox_ASPI = legacy;
        c.suiEdit_OutputFolder = common::ChooseWorkFolder(common::kWorkFolderName, environment_.folders);
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
        s.subtitleLanguageIndex = std::max(c.suiComboBox_MenuLanguage.itemIndex, 0);
    } else {
        c.suiCheckBox_SPTI = values.useSpti;
        c.suiCheckBox_ASPI = !c.suiCheckBox_SPTI;
        c.suiEdit_OutputFolder = common::ValidateOutputFolder(values.outputFolder, s.outputFolder, environment_.folders);
        c.suiCheckBox_DeleteTemp = values.deleteTempFiles;
        c.suiCheckBox_4_3 = values.shape4x3;
        c.suiCheckBox_16_9 = !c.suiCheckBox_4_3;
        c.suiCheckBox_NTSC = values.ntsc;
        c.suiCheckBox_PAL = !c.suiCheckBox_NTSC;
        c.suiCheckBox_D5 = values.dvd5;
        c.suiCheckBox_D9 = !c.suiCheckBox_D5;

        // Both keys hold combined-list indices; the subtitle list shows the
        // user regions only, so its item index is offset by the shipped count.
        const int subtitle = values.subtitleLanguageIndex;
        const int menu = values.menuLanguageIndex;
        selectItem(c.suiComboBox_SubtitleLanguage,
                   (subtitle >= shipped && subtitle - shipped < userItems) ? subtitle - shipped : 0);
        selectItem(c.suiComboBox_MenuLanguage, (menu >= 0 && menu < menuItems) ? menu : 0);
        // The subtitle default is the subtitle window's own choice.
        s.subtitleLanguageIndex = (subtitle >= 0 && subtitle < menuItems) ? subtitle : 0;

        c.suiCheckBox_Burner1 = s.firstBurnEngine;
        c.suiCheckBox_Burner2 = !s.firstBurnEngine;
        c.suiCheckBox3 = s.modifyIfo;
    }

    copyControlsToSettings();
    subtitleLanguageChanged();
}

void OptionWindowModel::copyControlsToSettings()
{
    common::Settings &s = settings_;
    const OptionControls &c = controls;
    s.firstBurnEngine = c.suiCheckBox_Burner1;
    s.modifyIfo = c.suiCheckBox3;
    s.useSpti = c.suiCheckBox_SPTI;
    s.outputFolder = c.suiEdit_OutputFolder;
    s.deleteTempFiles = c.suiCheckBox_DeleteTemp;
    s.menuLanguageIndex = std::max(c.suiComboBox_MenuLanguage.itemIndex, 0);
    s.dvd5 = c.suiCheckBox_D5;
    s.shape4x3 = c.suiCheckBox_4_3;
    s.ntsc = c.suiCheckBox_NTSC;
    s.menuSafeDistance = common::heldToRange(&common::Settings::menuSafeDistance, c.suiSpinEdit_DVDMenuSafeDistance);
    s.menuDuration = common::heldToRange(&common::Settings::menuDuration, c.suiSpinEdit_Duration);
}

bool OptionWindowModel::SaveSettings()
{
    error_.clear();
    const std::string &target = environment_.optionIniWrite;
    common::StartUserOptionFile(environment_.optionIniRead, target);
    IniFile ini(target);
    const common::OptionFile values {settings_, false, language_.UILanguage};
    const bool ok = common::writeOptionFile(ini, values);
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
    const bool engineBefore = settings_.firstBurnEngine;
    copyControlsToSettings();
    settings_.subtitleFontSize = common::heldToRange(&common::Settings::subtitleFontSize, controls.suiFontSizeComboBox);
    result.saved = SaveSettings();
    result.error = error_;
    confirmed = true;
    if (settings_.firstBurnEngine != engineBefore) {
        result.restartNotice = true;
        const common::CaptionTexts label = language_.captionTexts("OptionWindow", "Label3");
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
    controls.suiFontSizeComboBox = settings_.subtitleFontSize;
}

common::AddRegionResult OptionWindowModel::loadUserSubtitleLanguage()
{
    const ComboBoxModel *fields[] = {&controls.suiComboBox_SubtitleLanguage, &controls.suiComboBox_FontFile,
                                     &controls.suiComboBox_CharSet, &controls.suiComboBox_LanguageCode};
    std::string missing;
    for (size_t i = 0; i < std::size(fields); ++i) {
        if (!fields[i]->text.empty())
            continue;
        const auto [label, designed] = kUserLanguageLabels[i];
        const common::CaptionTexts caption = language_.captionTexts("OptionWindow", label);
        missing += (missing.empty() ? "" : ", ") + fieldName(caption.hasCaption ? caption.caption : designed);
    }
    if (!missing.empty())
        return common::AddRegionResult {false, false, language_.GetUIText(vt::common::kFillInText) + missing + "."};

    common::AddRegionResult result = environment_.regions.addUserRegion(
        controls.suiComboBox_SubtitleLanguage.text, controls.suiComboBox_FontFile.text,
        controls.suiComboBox_CharSet.text, controls.suiComboBox_LanguageCode.text);
    if (result.appended) {
        const std::string name = controls.suiComboBox_SubtitleLanguage.text;
        controls.suiComboBox_SubtitleLanguage.items = environment_.regions.userNames();
        controls.suiComboBox_MenuLanguage.items = environment_.regions.combinedNames();
        controls.suiComboBox_SubtitleLanguage.itemIndex = indexOf(controls.suiComboBox_SubtitleLanguage.items, name);
    }
    if (result.ok)
        result.message = language_.GetUIText(common::kAddOkText);
    return result;
}

std::string OptionWindowModel::browse(const std::string &chosenFolder)
{
    std::string refusal;
    controls.suiEdit_OutputFolder =
        common::ValidateOutputFolder(chosenFolder, controls.suiEdit_OutputFolder, environment_.folders, &refusal);
    return refusal;
}

} // namespace vt::shell
