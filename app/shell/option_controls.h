// The settings window's controls as plain values, named after the window's
// controls. The window shows these and writes user changes back; all the
// logic works on this model (option_window_model.h).
#pragma once

#include <string>
#include <vector>

namespace vt::shell {

struct ComboBoxModel {
    std::vector<std::string> items;
    int itemIndex = -1;  // -1: nothing selected
    std::string text;    // the edit text (editable combo boxes)

    void clear()
    {
        items.clear();
        itemIndex = -1;
        text.clear();
    }
};

enum class OptionPage { General, Language, Burner };

struct OptionControls {
    // General page.
    bool suiCheckBox_DeleteTemp = true;
    bool suiCheckBox_4_3 = true, suiCheckBox_16_9 = false;
    bool suiCheckBox_NTSC = true, suiCheckBox_PAL = false;
    bool suiCheckBox_D5 = true, suiCheckBox_D9 = false;
    int suiSpinEdit_Duration = 5;
    int suiSpinEdit_DVDMenuSafeDistance = 10;
    ComboBoxModel suiComboBox_MenuLanguage;  // the combined region list
    std::string suiEdit_OutputFolder;

    // Language page.
    int suiFontSizeComboBox = 20;
    ComboBoxModel suiComboBox_SubtitleLanguage;  // the user-defined regions
    ComboBoxModel suiComboBox_FontFile;
    ComboBoxModel suiComboBox_CharSet;
    ComboBoxModel suiComboBox_LanguageCode;

    // Burner page.
    bool suiCheckBox_Burner1 = true, suiCheckBox_Burner2 = false;
    bool suiCheckBox_SPTI = true, suiCheckBox_ASPI = false;
    bool suiCheckBox3 = true;  // " Auto Modify IFO File"
};

} // namespace vt::shell
