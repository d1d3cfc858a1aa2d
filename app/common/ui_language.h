// The UI language: the open language file and every text lookup that goes
// through it.
//
// A language file is an ini file in the program's "Lang/" folder. Section
// "Text" replaces numbered texts ("#1" stands for a line break, "#2" for a
// space); a section named after a window holds "<control>-Caption",
// "-FontName", "-FontSize" and "-Hint" for that window's controls.
// Windows localise themselves by walking their controls and asking
// captionTexts() or hintText() for each; the file is parsed once and kept.
#pragma once

#include "app/common/ui_text_ids.h"
#include "platform/ini_file.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vt::common {

// The windows' names (their sections in a language file), in the order they
// are created at start-up and localised when the language changes.
inline constexpr std::array<const char *, 15> kLocalizedWindows = {
    "MainWindow",    "OptionWindow",       "SetupClipWindow", "SetupSubtitleWindow", "SetupMenuWindow",
    "SetupChapterWindow", "SetupTextWindow", "SetupImageWindow", "AboutWindow",      "SetupDVDFileWindow",
    "CompilerWindow", "ConvertWindow",     "BurnWindow",      "BuilderWindow",       "DeviceWindow",
};

struct CaptionTexts {
    // Whether the file gives a caption; when it does not, nothing of the
    // control changes.
    bool hasCaption = false;
    std::string caption;
    std::string fontName;  // "Tahoma" when not given
    int fontSize = 8;      // points; 8 when not given
};

inline constexpr const char *kDefaultCaptionFont = "Tahoma";
inline constexpr int kDefaultCaptionFontSize = 8;

class UiLanguage {
public:
    // languageFolder: the folder of the language files, with a trailing '/'.
    explicit UiLanguage(std::string languageFolder);

    // Opens languageFolder + fileName (found without regard to case) as the
    // current language file and sets UILanguage. When the file does not
    // exist, or the name is not a plain file name, nothing changes and the
    // answer is false.
    bool LoadUILanguage(const std::string &fileName);
    void closeLanguageIni();
    bool hasLanguageIni() const { return LanguageIni != nullptr; }

    // The text with that number from the language file, else built in.
    std::string GetUIText(int number) const;

    // The caption the language file gives one control of a window.
    CaptionTexts captionTexts(const std::string &windowName, const std::string &controlName) const;
    // The hint the language file gives one control of a window ("" when none).
    std::string hintText(const std::string &windowName, const std::string &controlName) const;
    // Whether the language file gives that control a hint at all.
    bool hasHint(const std::string &windowName, const std::string &controlName) const;

    // The language files of the folder, in listing order, as the help menu
    // lists them: file names ending in ".ini", directories left out.
    std::vector<std::string> languageFiles() const;
    // The menu caption of a language file: trimmed, without its last four characters.
    static std::string languageCaption(const std::string &fileName);
    // True when fileName is the current language (compared without regard to case).
    bool isCurrentLanguage(const std::string &fileName) const;

    const std::string &languageFolder() const { return languageFolder_; }

    // File name of the current language file; empty until the settings set it.
    std::string UILanguage;
    // The open language file, or none.
    std::unique_ptr<IniFile> LanguageIni;

private:
    std::string languageFolder_;
};

// The program's UI language (the language folder of ExePath).
UiLanguage &programUiLanguage();

} // namespace vt::common
